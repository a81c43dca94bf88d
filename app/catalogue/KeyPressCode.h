// The key code of a key press as the keyboard capture reports it: its virtual-key code, except the
// keypad's Enter, which shares Enter's virtual-key code and is told apart by its extended flag.
#pragma once

inline constexpr int EnterVirtualKey = 13;
inline constexpr int KeypadEnterCode = 269; // "(Enter)" in the key catalogue

inline constexpr int KeyCodeOfPress(int virtualKey, bool extended) {
    return virtualKey == EnterVirtualKey && extended ? KeypadEnterCode : virtualKey;
}
