#include "ui/hot_key_registration.h"

#include "core/app/hot_key.h"

namespace orvan::ui {

namespace {

struct HotKeyState {
    HWND window = nullptr;
    std::int32_t id = 0;
    std::int32_t shortCut = 0;
    bool registered = false;

    // The atom is released with the registration, or at the end of the program.
    ~HotKeyState() {
        if (id > 0) {
            ::UnregisterHotKey(window, id);
            ::GlobalDeleteAtom(ATOM(id));
        }
    }
};

HotKeyState& State() {
    static HotKeyState state;
    return state;
}

} // namespace

void SetHotKeyWindow(HWND window) {
    State().window = window;
}

bool RegisterMainHotKey(std::int32_t shortCut) {
    HotKeyState& state = State();
    if (shortCut > 0)
        state.shortCut = shortCut;
    if (state.id > 0)
        UnregisterMainHotKey();
    const HotKeyCode code = ShortCutToHotKey(std::uint16_t(state.shortCut));
    state.id = ::GlobalAddAtomW(kHotKeyAtomName);
    state.registered = ::RegisterHotKey(state.window, state.id, code.modifiers, code.key) != FALSE;
    return state.registered;
}

void UnregisterMainHotKey() {
    HotKeyState& state = State();
    ::UnregisterHotKey(state.window, state.id);
    ::GlobalDeleteAtom(ATOM(state.id));
    state.id = 0;
    state.registered = false;
}

std::int32_t HotKeyId() {
    return State().id;
}

std::int32_t HotKeyShortCut() {
    return State().shortCut;
}

bool MainHotKeyRegistered() {
    return State().registered;
}

} // namespace orvan::ui
