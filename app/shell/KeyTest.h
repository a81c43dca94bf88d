// The key test: while it runs, every key typed into the main window is taken by it and marks the key of
// the keyboard it came from, so the person sees which keys work. It assigns, opens and writes nothing.
// A key that does not arrive as itself (one assigned to another key, to a media key or to FN) marks the
// one key whose assignment sends what arrived; when several could have sent it, none is marked.
#pragma once

#include "model/KeyboardData.h"
#include "zelk/ZelkHWI.h"

#include <array>

class CKeyTest {
public:
    bool Running() const { return On; }
    // Starting and ending clear the marks.
    void Start();
    void End();

    // A key event by its native scan code (the X key code); what the translation needs to know of held
    // modifiers follows presses and releases alike. Returns the key index a press marked, 0 for none.
    int Offer(const CKeyboardData& data, unsigned nativeScanCode, bool release, bool numLock);
    // The window lost the focus: the modifiers held so far are forgotten.
    void ForgetHeldKeys() { Translator = {}; }

    bool Tested(int keyIndex) const;
    // The key index last marked (0 for none) and the scan code of the last press, marked or not.
    int LastKey() const { return Last; }
    unsigned LastScanCode() const { return LastScan; }
    bool AnyPress() const { return Pressed; }

private:
    bool On = false;
    bool Pressed = false;
    int Last = 0;
    unsigned LastScan = 0;
    std::array<bool, KeyIndexCount> Marks{};
    CHookKeyTranslator Translator;
};

// The device code of a key event's virtual-key code (with its extended flag): a key of the keyboard, or
// the multimedia function a media key stands for; 0 for none.
int DeviceCodeOfEvent(const CKeyboardData& data, unsigned virtualKey, bool extended);
// The key index whose assignment on either level sends deviceCode; 0 when none does, or several do and
// none of them is the key whose own code it is.
int KeyIndexSending(const CKeyboardData& data, int deviceCode);
