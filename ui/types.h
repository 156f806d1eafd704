// Small value types the form and its bindings share: colours and fonts.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// An RGB colour, each component 0..255.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// A font as the form names it; a binding maps it onto what its toolkit has.
struct Font {
    std::u16string family;
    int points = 0;
    int weight = 400; // regular
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 204; // Cyrillic
};

// Twips are 1/1440 inch; the form was laid out at 15 twips a pixel (96 dots per inch).
constexpr double kTwipsPerPixel = 15.0;

} // namespace ui
