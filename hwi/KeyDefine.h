// Key definitions: what one key does on one layer, and their key-definition packets.
#pragma once

#include "zelk/ZelkHWI.h"

#include <cstdint>
#include <memory>
#include <vector>

inline constexpr int PacketSize = 64;
inline constexpr int MacroChunkSize = 53;
inline constexpr int MacroHeadSize = 11;
static_assert(MaxNormalCodes == PacketSize - 6 && MaxContinuousCodes == PacketSize - 8,
              "a definition's codes fill its packet after the head");
inline constexpr std::uint8_t StepDelayMarker = 0xC8;

enum KeyDefineKind { NormalKind = 0, ContinuousKind = 1, MacroKindFirst = 2, MacroKindLast = 4 };

class CKeyDefine {
public:
    CKeyDefine(int keyNumber, int level, int kind) : KeyNumber(keyNumber), Level(level), Kind(kind) {}
    virtual ~CKeyDefine() = default;

    // With a null destination only sets totalSize and returns false; otherwise fills totalSize bytes
    // of zeroed packets.
    virtual bool Encode(std::uint8_t* destination, int packetSize, int& totalSize) const = 0;
    // Reads the definition from totalSize bytes of packets; never reads past them.
    virtual bool Decode(const std::uint8_t* source, int packetSize, int totalSize) = 0;
    // Appends the definition's interchange array.
    virtual void ToInterchange(std::vector<int>& array) const = 0;

    // Builds a definition from an interchange array of the given length, or null when element 0 names
    // no layout or the packets could not carry the definition.
    static std::unique_ptr<CKeyDefine> FromInterchange(int keyNumber, int level, const int* array,
                                                       int length);
    // Creates an empty definition of a received kind (0..4), or null for any other kind.
    static std::unique_ptr<CKeyDefine> Create(int keyNumber, int level, int kind);

    int KeyNumber;
    int Level;
    int Kind;

protected:
    void WriteHead(std::uint8_t* packet) const;
};

class CNormalKeyDefine : public CKeyDefine {
public:
    CNormalKeyDefine(int keyNumber, int level) : CKeyDefine(keyNumber, level, NormalKind) {}
    bool Encode(std::uint8_t* destination, int packetSize, int& totalSize) const override;
    bool Decode(const std::uint8_t* source, int packetSize, int totalSize) override;
    void ToInterchange(std::vector<int>& array) const override;

    std::vector<int> KeyCodes;
    int CodeCount = 0;
};

class CContinousKeyDefine : public CKeyDefine {
public:
    CContinousKeyDefine(int keyNumber, int level) : CKeyDefine(keyNumber, level, ContinuousKind) {}
    bool Encode(std::uint8_t* destination, int packetSize, int& totalSize) const override;
    bool Decode(const std::uint8_t* source, int packetSize, int totalSize) override;
    void ToInterchange(std::vector<int>& array) const override;

    int Interval = 0;
    std::vector<int> KeyCodes;
    int CodeCount = 0;
};

class CMacroKeyDefine : public CKeyDefine {
public:
    CMacroKeyDefine(int keyNumber, int level, int kind) : CKeyDefine(keyNumber, level, kind) {}
    bool Encode(std::uint8_t* destination, int packetSize, int& totalSize) const override;
    bool Decode(const std::uint8_t* source, int packetSize, int totalSize) override;
    void ToInterchange(std::vector<int>& array) const override;

    // Length in bytes of the data stream the codes (and step delays) make.
    int StreamLength() const;

    int StepDelayFlag = 0;
    int Cycles = 0;
    std::vector<int> Delays;
    std::vector<int> KeyCodes;
    int CodeCount = 0;
    int Interval = 0;
};

// Number of 64-byte packets that carry a macro stream of the given length.
inline int MacroPacketCount(int streamLength) {
    return (MacroChunkSize + streamLength - 1) / MacroChunkSize;
}
