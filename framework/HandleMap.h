#pragma once

#include <windows.h>

#include <cstddef>
#include <unordered_map>

// Deletes every temporary wrapper that FromHandle made, of every kind, at once.
void AfxDeleteTempObjects();
// The temporary wrappers live until a message loop's queue runs dry with no
// message handler on the stack: the framework's window procedure and its
// loops' dispatches hold a lock while they run, and a loop that goes idle
// unlocks with bDeleteTemps, which deletes them only when no lock is left.
// So a wrapper obtained in a handler stays valid until that handler returns,
// whatever loops (menus, dialogs) run inside it.
void AfxLockTempMaps();
// TRUE when the last lock went and the temporaries were deleted.
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);
// How many temporary wrappers live now, of every kind.
size_t AfxGetTempObjectCount();
// Registers the functions that empty and count one temporary map.
void AfxRegisterTempMap(void (*pfnDeleteAll)(), size_t (*pfnCount)());

// The wrappers of one kind of handle: permanent ones, attached by their owners
// (who free the handle), and temporary ones made for foreign handles (never
// freeing it). One temporary object per handle and wrapper type, reused.
// clang-format 14 writes T::*pHandle, 19 T::* pHandle: kept out of both.
// clang-format off
template <class T, class H, H T::*pHandle>
// clang-format on
class CHandleMap
{
public:
    static T* LookupPermanent(H h)
    {
        auto& map = Permanent();
        auto it = map.find(h);
        return it == map.end() ? nullptr : it->second;
    }
    // Makes p the owner of h. FALSE for a NULL handle, when p owns one
    // already, or when h has another owner and may not be shared.
    static bool Attach(T* p, H h, bool bShared = false)
    {
        if (!h || p->*pHandle || (!bShared && LookupPermanent(h)))
            return false;
        p->*pHandle = h;
        Permanent()[h] = p;
        return true;
    }
    // Attach for a handle just made: freed with pfnFree when it cannot be.
    template <class F>
    static bool AttachNew(T* p, H h, F pfnFree)
    {
        if (Attach(p, h))
            return true;
        if (h)
            pfnFree(h);
        return false;
    }
    static H Detach(T* p)
    {
        H h = p->*pHandle;
        if (h) {
            auto& map = Permanent();
            auto it = map.find(h);
            if (it != map.end() && it->second == p)
                map.erase(it);
        }
        p->*pHandle = nullptr;
        return h;
    }

    // The permanent wrapper of h when it is a U, otherwise a temporary U.
    template <class U = T>
    static U* FromHandle(H h)
    {
        if (!h)
            return nullptr;
        if (T* p = LookupPermanent(h))
            if (U* u = dynamic_cast<U*>(p))
                return u;
        auto& temps = Temporary<U>();
        auto it = temps.find(h);
        if (it != temps.end())
            return it->second;
        U* u = new U;
        static_cast<T*>(u)->*pHandle = h;
        temps[h] = u;
        return u;
    }

private:
    // Heap maps that are never destroyed, so that global wrappers may still
    // unregister themselves while the program's statics are torn down.
    static std::unordered_map<H, T*>& Permanent()
    {
        static auto* map = new std::unordered_map<H, T*>;
        return *map;
    }
    template <class U>
    static std::unordered_map<H, U*>& Temporary()
    {
        static auto* map = [] {
            AfxRegisterTempMap(&DeleteTemporaries<U>, &CountTemporaries<U>);
            return new std::unordered_map<H, U*>;
        }();
        return *map;
    }
    template <class U>
    static void DeleteTemporaries()
    {
        auto& temps = Temporary<U>();
        for (auto& entry : temps) {
            static_cast<T*>(entry.second)->*pHandle = nullptr;  // never frees the handle
            delete entry.second;
        }
        temps.clear();
    }
    template <class U>
    static size_t CountTemporaries()
    {
        return Temporary<U>().size();
    }
};
