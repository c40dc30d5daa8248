#pragma once
// Geometry of the main window: the four layout variants ("Skin" of the
// profile) and the grid in which the format and class buttons are placed.
#include <QColor>
#include <QPoint>
#include <vector>

namespace rc {

struct TLayoutVariant {
    bool ChromeVisible = true;   // minimise and close buttons
    QPoint Min, Close;
    QPoint Help;
    int HelpTag = 0;             // offset of the help menu from the button's left
    QPoint Log;
    int BackLeft = 0, NextLeft = 0, ExitLeft = 0, WizardTop = 0;
    QPoint PageControl;
    QPoint Title;
    bool TitleBold = true;
    QColor InfoColour;           // LabelVersion and LabelMoreTools
    int VersionTop = -1, MoreToolsTop = -1;  // -1: the window's default place
    bool InfoInFront = false;
    bool TransparentButtons = false;  // the five bottom buttons, white captions
};

// Variant 0 to 3; anything else gives variant 0.
const TLayoutVariant& LayoutVariant(int variant);

struct TGridLayout {
    int LeftMargin;
    int TopMargin;
    int CellWidth;
    int CellHeight;
    int HorizontalGap;
    int VerticalGap;
};

inline constexpr TGridLayout kFormatButtonGrid{10, 5, 62, 57, 2, 3};
inline constexpr TGridLayout kClassButtonGrid{18, 135, 171, 32, 0, 0};

// Columns of the grid on a sheet of that width (at least 1).
int GridColumns(const TGridLayout& grid, int sheetWidth);
// Top-left of the k-th placed cell (counting from 0).
QPoint GridCell(const TGridLayout& grid, int sheetWidth, int k);
// The place of every button: offered buttons take the cells in order,
// buttons not offered get no cell (kNoCell).
std::vector<QPoint> LayOutButtons(const TGridLayout& grid, int sheetWidth,
                                  const std::vector<bool>& offered);

inline const QPoint kNoCell{-1, -1};

// Top of the format page control: 120 when fewer than two classes are
// offered (the class buttons are hidden), else 172.
inline constexpr int kFormatPagesTopWithClasses = 172;
inline constexpr int kFormatPagesTopWithoutClasses = 120;
int FormatPagesTop(int offeredClassCount);

}  // namespace rc
