// The keyboard object: the library's image of the keyboard's key table and light area, and the
// transfers that move them.
#pragma once

#include "KeyDefine.h"
#include "KeyboardUtil.h"

#include <array>
#include <memory>
#include <string>

class CKeyboardDefine {
public:
    virtual ~CKeyboardDefine() = default;
    virtual std::u16string GetProductId() const = 0;
    virtual std::u16string GetVendorId() const = 0;
};

class CMorv : public CKeyboardDefine {
public:
    explicit CMorv(CMorvUtil& transport) : Transport(transport) {}

    std::u16string GetProductId() const override { return u"5021"; }
    std::u16string GetVendorId() const override { return u"0483"; }

    static int SlotIndex(int level, int keyNumber) { return level * KeyCount + keyNumber - 1; }
    static bool IsValidSlot(int level, int keyNumber) {
        return level >= 0 && level <= 1 && keyNumber >= 1 && keyNumber <= KeyCount;
    }

    // Key table.
    bool setKeyConfiguration(int level, int keyNumber, const int* array, int length);
    bool getKeyConfiguration(int level, int keyNumber, int* array, int capacity) const;
    bool prepare();
    bool writeKeyConfigurationToDev(CMessageTarget* target);
    bool readKeyDefinationFromDev(CMessageTarget* target);

    // Light area.
    bool setKeyboardLightArea(const int* area);
    bool getKeyboardLightArea(int* area) const;
    bool readKeyLightFromDev();

private:
    enum ReplyOutcome { ReplyTaken, ReplyEndsList, ReplyFailed };
    // Sends a request and hands each reply to handle until it ends the list; false when a report
    // fails, handle fails, or maxReplies replies come without the end.
    template <typename Handle> bool ReadReplies(std::uint8_t request, long maxReplies, Handle handle);
    bool WriteSlot(int slot);
    // Stores one received definition packet (and its continuation packets); false when a read failed.
    bool ReceiveDefinition(const std::uint8_t* packet, CMessageTarget* target);

    CMorvUtil& Transport;
    std::array<std::unique_ptr<CKeyDefine>, SlotCount> KeyTable;
    std::array<std::uint8_t, LightAreaSize> LightArea = {};
};
