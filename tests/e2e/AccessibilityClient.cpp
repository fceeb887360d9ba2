// A screen reader's view of Tempik, from another process: finds the window titled "Tempik",
// takes its client object and reads every child of it.
//   dump          one line per element: role, name, value, description, action, state, location
//   press NAME    the default action of the child with that name
//   keep          takes the object, prints "kept", waits for a line on stdin, then reads it
//                 again and prints what the calls returned (exit 0 when every call failed)
#include <initguid.h>  // before oleacc.h: MinGW's IID_IAccessible is defined only then
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Utf8(BSTR bstr)
{
    if (!bstr)
        return "";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, bstr, -1, nullptr, 0, nullptr, nullptr);
    std::string text(n > 0 ? (size_t)n : 1, '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, bstr, -1, text.data(), n, nullptr, nullptr);
    text.resize(std::strlen(text.c_str()));
    ::SysFreeString(bstr);
    return text;
}

VARIANT Child(long id)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Name(IAccessible* acc, long id)
{
    BSTR b = nullptr;
    acc->get_accName(Child(id), &b);
    return Utf8(b);
}

std::string RoleText(IAccessible* acc, long id)
{
    VARIANT role;
    ::VariantInit(&role);
    if (FAILED(acc->get_accRole(Child(id), &role)) || role.vt != VT_I4)
        return "?";
    char text[80] = "";
    ::GetRoleTextA((DWORD)role.lVal, text, sizeof text);
    return std::to_string(role.lVal) + " (" + text + ")";
}

std::string StateText(IAccessible* acc, long id)
{
    VARIANT state;
    ::VariantInit(&state);
    if (FAILED(acc->get_accState(Child(id), &state)) || state.vt != VT_I4)
        return "?";
    std::string text;
    for (DWORD bit = 1; bit != 0 && bit <= STATE_SYSTEM_VALID; bit <<= 1)
        if (state.lVal & (long)bit) {
            char name[80] = "";
            ::GetStateTextA(bit, name, sizeof name);
            text += (text.empty() ? "" : ",") + std::string(name);
        }
    return text;
}

void Dump(IAccessible* acc, long id)
{
    BSTR value = nullptr, description = nullptr, action = nullptr;
    acc->get_accValue(Child(id), &value);
    acc->get_accDescription(Child(id), &description);
    acc->get_accDefaultAction(Child(id), &action);
    long x = 0, y = 0, cx = 0, cy = 0;
    acc->accLocation(&x, &y, &cx, &cy, Child(id));
    std::printf("%ld: role=%s name=\"%s\" value=\"%s\" description=\"%s\" action=\"%s\" state=%s "
                "location=%ldx%ld+%ld+%ld\n",
                id, RoleText(acc, id).c_str(), Name(acc, id).c_str(), Utf8(value).c_str(),
                Utf8(description).c_str(), Utf8(action).c_str(), StateText(acc, id).c_str(), cx, cy, x, y);
}

int Run(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "dump";
    const HWND hWnd = ::FindWindowA("#32770", "Tempik");
    if (!hWnd) {
        std::printf("no window \"Tempik\"\n");
        return 2;
    }
    IAccessible* acc = nullptr;
    HRESULT hr = ::AccessibleObjectFromWindow(hWnd, (DWORD)OBJID_CLIENT, IID_IAccessible, (void**)&acc);
    if (FAILED(hr) || !acc) {
        std::printf("AccessibleObjectFromWindow: 0x%08lx\n", (unsigned long)hr);
        return 2;
    }
    int rc = 0;
    if (command == "dump") {
        long count = 0;
        acc->get_accChildCount(&count);
        std::printf("client: role=%s name=\"%s\" children=%ld\n", RoleText(acc, CHILDID_SELF).c_str(),
                    Name(acc, CHILDID_SELF).c_str(), count);
        VARIANT children[8];
        LONG obtained = 0;
        hr = ::AccessibleChildren(acc, 0, count < 8 ? count : 8, children, &obtained);
        if (FAILED(hr))
            std::printf("AccessibleChildren: 0x%08lx\n", (unsigned long)hr);
        for (LONG i = 0; i < obtained; ++i) {
            if (children[i].vt == VT_I4)
                Dump(acc, children[i].lVal);
            else
                std::printf("child %ld: an object, not a simple element\n", i + 1);
            ::VariantClear(&children[i]);
        }
        VARIANT focus;
        ::VariantInit(&focus);
        acc->get_accFocus(&focus);
        std::printf("focus: %ld\n", focus.vt == VT_I4 ? focus.lVal : -1L);
        ::VariantClear(&focus);
    } else if (command == "press" && argc > 2) {
        long count = 0;
        acc->get_accChildCount(&count);
        rc = 1;
        for (long id = 1; id <= count; ++id)
            if (Name(acc, id) == argv[2]) {
                hr = acc->accDoDefaultAction(Child(id));
                std::printf("pressed %s: 0x%08lx\n", argv[2], (unsigned long)hr);
                rc = SUCCEEDED(hr) ? 0 : 1;
            }
    } else if (command == "keep") {
        std::printf("kept %s\n", Name(acc, 1).c_str());
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            line[0] = '\0';
        BSTR value = nullptr, name = nullptr;
        long count = -1;
        const HRESULT hrValue = acc->get_accValue(Child(1), &value);
        const HRESULT hrName = acc->get_accName(Child(2), &name);
        const HRESULT hrCount = acc->get_accChildCount(&count);
        Utf8(value);
        Utf8(name);
        std::printf("after: value 0x%08lx, name 0x%08lx, child count 0x%08lx\n", (unsigned long)hrValue,
                    (unsigned long)hrName, (unsigned long)hrCount);
        rc = FAILED(hrValue) && FAILED(hrName) && FAILED(hrCount) ? 0 : 1;
    } else {
        std::printf("unknown command %s\n", command.c_str());
        rc = 2;
    }
    acc->Release();
    return rc;
}

}  // namespace

int main(int argc, char** argv)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int rc = Run(argc, argv);
    std::fflush(stdout);
    ::CoUninitialize();
    return rc;
}
