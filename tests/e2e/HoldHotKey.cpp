// Holds a hot key for a while, as another program that took it would: the key
// given as a virtual-key number, the time in seconds. Exits 1 if the key is taken.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const UINT vk = argc > 1 ? (UINT)std::atoi(argv[1]) : VK_F7;
    const DWORD seconds = argc > 2 ? (DWORD)std::atoi(argv[2]) : 60;
    if (!::RegisterHotKey(nullptr, 1, 0, vk)) {
        std::printf("the key is taken\n");
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    ::Sleep(seconds * 1000);
    ::UnregisterHotKey(nullptr, 1);
    return 0;
}
