// The soak (./dev soak [minutes]): the real main window driven through hours of use in a few
// minutes, from inside its own modal loop. Every round toggles the stopwatch by the hot key a
// couple of hundred times, takes the window through four display scales, opens and closes
// both menus, Options and About, resets it and toggles the keyboard cues. GDI and USER objects
// and private bytes are sampled after the first round, every minute and at the end; any of
// them higher at the end than after the first round fails the run. The scales come first in
// a round: the system keeps more (Wine: six GDI objects, window DCs among them) once menus
// and boxes have opened after a change of scale, and the first round has to have seen that.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "stopwatch/RondixDlg.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestImages.h"

using namespace DialogDriver;

namespace {

const char* const SOAK_REGISTRY_KEY = "Tempik Soak";
const char* const OPTIONS_TITLE = "Tempik Options";
const char* const ABOUT_TITLE = "About Tempik";

// Odd, so that a round's burst leaves the stopwatch running while the window ticks and paints.
constexpr int TOGGLES_PER_ROUND = 199;
constexpr UINT RUNNING_MS = 60;
const UINT SCALES[] = {120, 144, 192, USER_DEFAULT_SCREEN_DPI};

class CSoakApp : public CWinApp
{
public:
    CSoakApp() { SetRegistryKey(SOAK_REGISTRY_KEY); }
};

CSoakApp s_app;

// Posted to the main window right before a box opens, so that the box's own modal loop
// dispatches it: wParam is the button to press, lParam the box's title.
constexpr UINT WM_CLOSE_BOX = WM_APP + 1;
// How often a box that is not there yet is looked for again before the soak gives up.
constexpr int BOX_TRIES = 1000;

// The main window, closing every popup menu as soon as it waits for input and every box
// when asked to.
class CSoakDlg : public CRondixDlg
{
public:
    int m_nBoxesMissed = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            ::EndMenu();
            return 0;
        }
        if (message == WM_CLOSE_BOX) {
            if (HWND hBox = FindThreadWindowShownOrNot((const char*)lParam)) {
                ::PostMessageA(hBox, WM_COMMAND, wParam, 0);
                m_nTries = 0;
            } else if (++m_nTries < BOX_TRIES) {
                ::PostMessageA(m_hWnd, WM_CLOSE_BOX, wParam, lParam);
            } else {
                ++m_nBoxesMissed;
                m_nTries = 0;
            }
            return 0;
        }
        return CRondixDlg::WindowProc(message, wParam, lParam);
    }

private:
    int m_nTries = 0;
};

struct Actions {
    long long toggles, resets, contextMenus, moreMenus, options, abouts, scales, cues;
};

struct Memory {
    unsigned long long privateBytes;
    // Wine's leftovers of static controls, not in privateBytes.
    long long wineStatics;
};

struct Sample {
    std::string label;
    DWORD msAt;
    GuiCounts gui;
    Memory memory;
    Actions done;
};

// Wine's static control (comctl32 6) keeps a 24-byte heap block of every text static that is
// destroyed: its font handle, then zeros. A bare Win32 dialog with two statics and no code of
// Tempik's shows the same; the About box has two. Like a leak checker's suppression, the soak
// counts these apart. The handle is a font's (type 0x0A in bits 16 to 23) that is gone.
bool IsWineStaticLeftover(const PROCESS_HEAP_ENTRY& entry)
{
    if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) || entry.cbData != 3 * sizeof(uint64_t))
        return false;
    uint64_t words[3];
    std::memcpy(words, entry.lpData, sizeof words);
    return words[1] == 0 && words[2] == 0 && words[0] >> 32 == 0 && (words[0] >> 16 & 0xFF) == 0x0A &&
           ::GetObjectType((HGDIOBJ)(uintptr_t)words[0]) == 0;
}

// The process's private bytes: PrivateUsage, or where the system leaves it 0 (Wine), what it
// counts, to the byte: the committed private pages outside the heaps and the heaps' blocks in
// use, less Wine's leftovers of static controls.
Memory PrivateBytes(bool* pbCounted)
{
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    *pbCounted = false;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof pmc) &&
        pmc.PrivateUsage)
        return {pmc.PrivateUsage, 0};
    *pbCounted = true;
    Memory memory = {0, 0};
    MEMORY_BASIC_INFORMATION mbi;
    for (uintptr_t nAt = 0; ::VirtualQuery((const void*)nAt, &mbi, sizeof mbi) == sizeof mbi;) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            memory.privateBytes += mbi.RegionSize;
        const uintptr_t nNext = (uintptr_t)mbi.BaseAddress + mbi.RegionSize;
        if (nNext <= nAt)
            break;
        nAt = nNext;
    }
    HANDLE heaps[64];
    const DWORD nHeaps = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < nHeaps; ++i) {
        ::HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_REGION)
                memory.privateBytes -= entry.Region.dwCommittedSize;
            else if (IsWineStaticLeftover(entry))
                ++memory.wineStatics;
            else if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                memory.privateBytes += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return memory;
}

// Wine keeps every DC of its cache of window DCs, one DC and its clip region each, up to 64
// of them, and fills that cache lazily: once, after about 1,200 rounds, the soak saw 51 more
// DCs and regions come, then none. Held at once and given back, 64 window DCs fill it before
// the first sample. A DC that Tempik held would still show: the cache grows past 64 for it.
void FillWindowDCCache()
{
    constexpr int CACHED_DCS = 64;
    HWND windows[CACHED_DCS];
    HDC dcs[CACHED_DCS];
    for (int i = 0; i < CACHED_DCS; ++i) {
        windows[i] = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        dcs[i] = ::GetDC(windows[i]);
    }
    for (int i = 0; i < CACHED_DCS; ++i) {
        ::ReleaseDC(windows[i], dcs[i]);
        ::DestroyWindow(windows[i]);
    }
}

class CSoak
{
public:
    explicit CSoak(DWORD msDuration) : m_msDuration(msDuration) {}

    // Runs the main window until the time is up; the samples are then in m_samples.
    void Run()
    {
        // Sampling adds no memory of its own.
        m_samples.reserve(m_msDuration / 60000 + 3);
        m_msStart = ::GetTickCount();
        WhenFound([this] { return ::IsWindowVisible(m_dlg.m_hWnd) ? m_dlg.m_hWnd : nullptr; },
                  [this](HWND hDlg) {
                      m_hDlg = hDlg;
                      ::GetWindowRect(hDlg, &m_rcAt96);
                      StartRound();
                  });
        s_app.m_pMainWnd = &m_dlg;
        m_dlg.DoModal();
        s_app.m_pMainWnd = nullptr;
    }

    std::vector<Sample> m_samples;
    int BoxesMissed() const { return m_dlg.m_nBoxesMissed; }
    // Whether the private bytes were added up from the address space.
    bool m_bMemoryCounted = false;

private:
    // The hot key, as the system posts it; the window's loop dispatches the burst, then ticks.
    void StartRound()
    {
        for (int i = 0; i < TOGGLES_PER_ROUND; ++i)
            ::PostMessageA(m_hDlg, WM_HOTKEY, CRondixDlg::ID_HOTKEY_TOGGLE, MAKELPARAM(0, VK_F2));
        m_done.toggles += TOGGLES_PER_ROUND;
        RunSoon([this] { FinishRound(); }, RUNNING_MS);
    }

    void FinishRound()
    {
        // While running: four display scales, then both menus and About, behind which the
        // count goes on.
        for (UINT nDpi : SCALES) {
            const CRect rcSuggested(m_rcAt96.left, m_rcAt96.top,
                                    m_rcAt96.left + ::MulDiv(m_rcAt96.right - m_rcAt96.left, (int)nDpi, 96),
                                    m_rcAt96.top + ::MulDiv(m_rcAt96.bottom - m_rcAt96.top, (int)nDpi, 96));
            ::SendMessageA(m_hDlg, WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi), (LPARAM)&rcSuggested);
            ++m_done.scales;
        }
        OpenMenus();
        // Wine keeps a heap block of each of its two statics (see IsWineStaticLeftover).
        OpenBox(ID_TIMER_ABOUT, ABOUT_TITLE, IDOK);
        ++m_done.abouts;
        ::SendMessageA(::GetDlgItem(m_hDlg, IDC_RESET), BM_CLICK, 0, 0);
        ++m_done.resets;
        // Stopped: both menus again (other items), then Options, cancelled and then confirmed.
        OpenMenus();
        for (WPARAM nButton : {IDCANCEL, IDOK}) {
            OpenBox(ID_TIMER_OPTIONS, OPTIONS_TITLE, nButton);
            ++m_done.options;
        }
        // The keyboard cues hidden and shown again, as Windows tells the window and its buttons.
        for (WORD nAction : {UIS_SET, UIS_CLEAR}) {
            const WPARAM wParam = MAKEWPARAM(nAction, UISF_HIDEFOCUS | UISF_HIDEACCEL);
            ::SendMessageA(m_hDlg, WM_CHANGEUISTATE, wParam, 0);
            for (int nId : {IDC_START_STOP, IDC_RESET, IDC_MORE})
                ::SendMessageA(::GetDlgItem(m_hDlg, nId), WM_UPDATEUISTATE, wParam, 0);
            ++m_done.cues;
        }
        ++m_nRounds;
        AfterRound();
    }

    void OpenMenus()
    {
        // A right click at a screen point, and the menu key's (-1, -1).
        for (LPARAM lPoint : {MAKELPARAM(m_rcAt96.left + 20, m_rcAt96.top + 10), MAKELPARAM(-1, -1)}) {
            ::SendMessageA(m_hDlg, WM_CONTEXTMENU, (WPARAM)m_hDlg, lPoint);
            ++m_done.contextMenus;
        }
        ::SendMessageA(::GetDlgItem(m_hDlg, IDC_MORE), BM_CLICK, 0, 0);
        ++m_done.moreMenus;
    }

    void OpenBox(UINT nCommand, const char* pszTitle, WPARAM nButton)
    {
        ::PostMessageA(m_hDlg, WM_CLOSE_BOX, nButton, (LPARAM)pszTitle);
        ::SendMessageA(m_hDlg, WM_COMMAND, nCommand, 0);
    }

    // Samples once the loop has idled (the temporary wrappers are gone then): after the first
    // round, whenever another minute has passed, and at the end.
    void AfterRound()
    {
        const DWORD msNow = ::GetTickCount() - m_msStart;
        const bool bEnd = msNow >= m_msDuration;
        const bool bDue = m_nRounds == 1 || bEnd || msNow >= (DWORD)m_samples.size() * 60000u;
        if (!bDue)
            return RunSoon([this] { StartRound(); });
        WhenIdle([this, bEnd, msNow] {
            char szLabel[32];
            std::snprintf(szLabel, sizeof szLabel, "%s", m_nRounds == 1 ? "start" : bEnd ? "end" : "");
            if (!*szLabel)
                std::snprintf(szLabel, sizeof szLabel, "minute %u", (unsigned)(msNow / 60000u));
            m_samples.push_back({szLabel, msNow, CountGuiObjects(), PrivateBytes(&m_bMemoryCounted), m_done});
            if (bEnd)
                m_dlg.EndDialog(IDOK);
            else
                StartRound();
        });
    }

    void WhenIdle(std::function<void()> fn, int nWaits = 0)
    {
        // A timer may fall due before the loop finds its queue empty: wait for that.
        if (AfxGetTempObjectCount() != 0 && nWaits < 50)
            return RunSoon([this, fn, nWaits] { WhenIdle(fn, nWaits + 1); });
        fn();
    }

    const DWORD m_msDuration;
    DWORD m_msStart = 0;
    CSoakDlg m_dlg;
    HWND m_hDlg = nullptr;
    CRect m_rcAt96;
    int m_nRounds = 0;
    Actions m_done = {};
};

void PrintTable(const std::vector<Sample>& samples)
{
    std::printf("%-10s %7s %5s %5s %13s %6s %8s %7s %8s %6s %8s %6s %7s %6s\n", "sample", "time s", "GDI", "USER",
                "private bytes", "Wine's", "hot keys", "resets", "context", "More", "options", "about", "scales",
                "cues");
    for (const Sample& s : samples)
        std::printf("%-10s %7.1f %5ld %5ld %13llu %6lld %8lld %7lld %8lld %6lld %8lld %6lld %7lld %6lld\n",
                    s.label.c_str(), s.msAt / 1000.0, s.gui.gdi, s.gui.user, s.memory.privateBytes,
                    s.memory.wineStatics, s.done.toggles, s.done.resets, s.done.contextMenus, s.done.moreMenus,
                    s.done.options, s.done.abouts, s.done.scales, s.done.cues);
}

// TRUE when the figure did not grow from the first sample to the last.
bool Held(const char* pszWhat, unsigned long long nFirst, unsigned long long nLast)
{
    const bool bHeld = nLast <= nFirst;
    std::printf("%-14s %llu -> %llu: %s\n", pszWhat, nFirst, nLast, bHeld ? "no growth" : "GREW");
    return bHeld;
}

}  // namespace

int main(int argc, char** argv)
{
    const double minutes = argc > 1 ? std::strtod(argv[1], nullptr) : 5.0;
    if (!(minutes > 0 && minutes <= 24 * 60)) {
        std::fprintf(stderr, "usage: soak [minutes]  (5 by default)\n");
        return 2;
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + SOAK_REGISTRY_KEY).c_str());
    CSoak soak((DWORD)(minutes * 60000));
    FillWindowDCCache();
    soak.Run();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + SOAK_REGISTRY_KEY).c_str());

    const std::vector<Sample>& samples = soak.m_samples;
    PrintTable(samples);
    // Wine's GetGuiResources is a stub: CountGuiObjects then probes the handle tables.
    std::printf("GDI and USER objects: %s; private bytes: %s\n",
                ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS) ? "GetGuiResources"
                                                                        : "handle tables probed",
                soak.m_bMemoryCounted ? "heap blocks in use and private pages outside the heaps" : "PrivateUsage");
    if (samples.size() < 2) {
        std::printf("FAILED: the soak ended before its last sample\n");
        return 1;
    }
    const Sample &first = samples.front(), &last = samples.back();
    bool bPassed = Held("GDI objects", (unsigned long long)first.gui.gdi, (unsigned long long)last.gui.gdi);
    bPassed =
        Held("USER objects", (unsigned long long)first.gui.user, (unsigned long long)last.gui.user) && bPassed;
    bPassed = Held("private bytes", first.memory.privateBytes, last.memory.privateBytes) && bPassed;
    if (soak.BoxesMissed()) {
        std::printf("%d boxes did not open\n", soak.BoxesMissed());
        bPassed = false;
    }
    std::printf("%s\n", bPassed ? "soak passed" : "soak FAILED");
    return bPassed ? 0 : 1;
}
