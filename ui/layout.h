#pragma once

// Where every control stands, in twips from the top-left corner of the client area (15 twips to
// a logical pixel at 96 dots per inch), and how its text is set. Every position is a multiple of
// 15. Plain data, read by the Qt window and by the browser page alike.

namespace bitwatch {

enum class FontFace { SansSerif, Serif };

} // namespace bitwatch

namespace bitwatch::layout {

enum class Align { Left, Centre, Right };

// A control's text: its face, its size in points and its horizontal alignment; text always
// starts at the top of its box.
struct TextStyle {
    FontFace face;
    double points;
    Align align;
};

inline constexpr int kTwipsPerPixel = 15;

struct Box {
    int left;
    int top;
    int width;
    int height;
};

struct Segment {
    int x1;
    int y1;
    int x2;
    int y2;
    int widthPixels;
};

inline constexpr int kClientWidth = 14385;
inline constexpr int kClientHeight = 10470;

inline constexpr int kSidePitch = 7320;
inline constexpr int kColumnPitch = 780;
inline constexpr int kRowPitch = 1020;

inline constexpr Box kRow1Size{0, 0, 555, 975};
inline constexpr Box kParitySize{0, 0, 375, 735};
inline constexpr Box kSumSize{0, 0, 555, 915};

constexpr Box Row1Box(int index) {
    const int side = index / 48;
    const int bit = index % 48;
    return {300 + kSidePitch * side + kColumnPitch * (bit % 8), 780 + kRowPitch * (bit / 8),
            kRow1Size.width, kRow1Size.height};
}

constexpr Box ParityBox(int index) {
    const int side = index / 48;
    const int bit = index % 48;
    // These two cells of the last column stand 60 twips further right than the rest.
    const int offRule = (index == 23 || index == 31) ? 60 : 0;
    return {780 + kSidePitch * side + kColumnPitch * (bit % 8) + offRule,
            1260 + kRowPitch * (bit / 8), kParitySize.width, kParitySize.height};
}

constexpr Box Sum1Box(int index) {
    return {300 + kColumnPitch * index, 7080, kSumSize.width, kSumSize.height};
}

constexpr Box Sum2Box(int index) {
    return {7620 + kColumnPitch * index, 7080, kSumSize.width, kSumSize.height};
}

inline constexpr Box kCommand1{360, 8160, 1095, 495};
inline constexpr Box kCommand3{1500, 8160, 1275, 495};
inline constexpr Box kCommand4{2880, 8160, 1515, 495};
inline constexpr Box kErrorRate{2820, 8760, 1995, 555};
inline constexpr Box kCommand2{4500, 8160, 1875, 495};
inline constexpr Box kMode{5400, 120, 3195, 600};

inline constexpr Box kLabel1[2] = {{1860, 120, 2715, 495}, {9300, 120, 2715, 495}};
inline constexpr Box kResult{7680, 8220, 5955, 795};
inline constexpr Box kLabel2[4] = {{360, 8820, 2355, 495},
                                   {4920, 8820, 675, 495},
                                   {7620, 9180, 3675, 435},
                                   {12600, 9180, 675, 435}};
inline constexpr Box kRate{11340, 9180, 1215, 495};

inline constexpr Box kLogo{360, 9540, 4500, 720};

inline constexpr Segment kLine3{6660, 3960, 7380, 3960, 6};
inline constexpr Segment kLine4{7260, 3780, 7440, 3960, 6};
inline constexpr Segment kLine5{7260, 4140, 7440, 3960, 6};
inline constexpr Segment kLine1[2] = {{240, 7020, 6420, 7020, 4}, {7560, 7020, 13740, 7020, 4}};

inline constexpr TextStyle kDataText{FontFace::SansSerif, 48, Align::Centre};
inline constexpr TextStyle kParityText{FontFace::SansSerif, 36, Align::Centre};
inline constexpr TextStyle kCheckText{FontFace::SansSerif, 48, Align::Centre};
inline constexpr TextStyle kLabel1Text[2] = {{FontFace::SansSerif, 24, Align::Left},
                                             {FontFace::SansSerif, 24, Align::Centre}};
inline constexpr TextStyle kResultText{FontFace::Serif, 36, Align::Centre};
inline constexpr TextStyle kLabel2Text[4] = {{FontFace::SansSerif, 18, Align::Right},
                                             {FontFace::SansSerif, 18, Align::Left},
                                             {FontFace::SansSerif, 18, Align::Left},
                                             {FontFace::SansSerif, 18, Align::Left}};
inline constexpr TextStyle kRateText{FontFace::SansSerif, 18, Align::Left};
inline constexpr TextStyle kButtonText{FontFace::SansSerif, 18, Align::Centre};
inline constexpr TextStyle kErrorRateText{FontFace::SansSerif, 18, Align::Left};
inline constexpr TextStyle kModeText{FontFace::SansSerif, 19.5, Align::Left};

} // namespace bitwatch::layout
