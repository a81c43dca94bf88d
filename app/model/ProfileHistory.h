// The way back from a change of the profile, for the run only. Each committed change (an editor's OK,
// a backlight dialog's OK, Clear, Open, Read) is a step that Undo takes back and Redo makes again.
// A state holds the user-owned part of the model (catalogues, colours, assignments); states share every
// assignment and catalogue whose content another state kept already holds, so a step costs what it
// brought that no kept state has (opening two large profiles in turn keeps each once).
#pragma once

#include "model/KeyboardData.h"
#include "text/UiLanguage.h"

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

// What a step did, in every UI language ("F2 Multimedia Play/Pause"), worded by the caller.
struct CHistoryStep {
    std::array<std::u16string, UiLanguageCount> Name;

    const std::u16string& In(UiLanguage language) const { return Name[static_cast<std::size_t>(language)]; }
};

class CProfileHistory {
public:
    static constexpr std::size_t DefaultStepLimit = 100;
    // Past this many bytes of content in the kept states (the model's own included), the oldest steps
    // go even before the step limit is reached: a hundred steps of the largest profiles, each
    // different, would otherwise keep gigabytes.
    static constexpr std::size_t DefaultByteLimit = std::size_t{1} << 30;

    explicit CProfileHistory(std::size_t stepLimit = DefaultStepLimit,
                             std::size_t byteLimit = DefaultByteLimit);
    ~CProfileHistory();
    CProfileHistory(const CProfileHistory&) = delete;
    CProfileHistory& operator=(const CProfileHistory&) = delete;

    // Forgets every step: what data holds now is where the history starts.
    void Reset(const CKeyboardData& data);
    // data holds the outcome of a step: it becomes the current state and the steps that could be
    // redone are gone. False, and no step, when data holds what the current state does. The oldest
    // step goes once there are more than the limit.
    bool Commit(const CKeyboardData& data, CHistoryStep step);

    bool CanUndo() const { return Current > 0; }
    bool CanRedo() const { return Current < Steps.size(); }
    // The step Undo or Redo would take; null when there is none.
    const CHistoryStep* UndoStep() const;
    const CHistoryStep* RedoStep() const;
    // Puts the state before (after) that step into data; returns the step, null when there was none.
    // The view state of the lists and the editing position are left as they are.
    const CHistoryStep* Undo(CKeyboardData& data);
    const CHistoryStep* Redo(CKeyboardData& data);

    // The model now holds what was saved, opened, read or written (onlyThis: what any other state holds
    // is no longer kept anywhere), or a cleared model, which holds nothing to lose. After Undo or Redo,
    // CurrentClean tells whether the model is back at such a state.
    void MarkClean(bool onlyThis);
    bool CurrentClean() const;

    std::size_t StepCount() const { return Steps.size(); }
    // About how many bytes of content the kept states hold, counted once however many share it.
    std::size_t HeldBytes() const { return Bytes; }

    struct CState;

private:
    void Restore(CKeyboardData& data) const;
    std::shared_ptr<const CState> StateOf(const CKeyboardData& data, bool& changed);
    template <typename Part, typename Same>
    std::shared_ptr<const Part> Shared(const std::shared_ptr<const Part>& before, const Part& now, Same same);
    void ForgetUnused();

    std::size_t StepLimit;
    std::size_t ByteLimit;
    std::size_t Bytes = 0;
    // States[i] is the model before Steps[i] and States[i + 1] after it; States[Current] is the model.
    std::deque<std::shared_ptr<const CState>> States;
    std::deque<CHistoryStep> Steps;
    std::deque<bool> Clean;
    std::size_t Current = 0;
    // The parts the kept states hold, by a hash of their content, with their size.
    struct CPart {
        std::weak_ptr<const void> Held;
        std::size_t Bytes = 0;
    };
    std::unordered_multimap<std::size_t, CPart> Parts;
};
