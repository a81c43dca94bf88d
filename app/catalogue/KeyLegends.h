// What every key of the keyboard is called where a key index is shown to the user: the legend
// printed on its cap (with the character above it, for keys that have one) and the name messages
// use, which tells the left key from the right one.
#pragma once

struct KeyLegend {
    const char* main;
    const char* shifted; // empty for keys without a second character
    const char* name;
};

// The legend of key index 1 to 87; empty texts for any other index.
const KeyLegend& KeyLegendOf(int keyIndex);
