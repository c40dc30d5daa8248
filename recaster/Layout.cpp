#include "Layout.h"

namespace rc {

namespace {

TLayoutVariant Make(int variant) {
    TLayoutVariant v;
    switch (variant) {
    case 1:
        v.Min = {766, 3}; v.Close = {794, 3};
        v.Help = {25, 566}; v.HelpTag = 0; v.Log = {120, 566};
        v.BackLeft = 400; v.NextLeft = 495; v.ExitLeft = 730; v.WizardTop = 566;
        v.PageControl = {240, 110}; v.Title = {252, 70};
        v.InfoColour = QColor(255, 255, 255);
        break;
    case 2:
        v.Min = {696, 6}; v.Close = {728, 4};
        v.Help = {40, 513}; v.HelpTag = 5; v.Log = {138, 513};
        v.BackLeft = 426; v.NextLeft = 522; v.ExitLeft = 672; v.WizardTop = 513;
        v.PageControl = {198, 74}; v.Title = {24, 43};
        v.InfoColour = QColor(0x80, 0x80, 0x80);
        break;
    case 3:
        v.ChromeVisible = false;
        v.Help = {10, 515}; v.HelpTag = 0; v.Log = {120, 515};
        v.BackLeft = 350; v.NextLeft = 460; v.ExitLeft = 665; v.WizardTop = 515;
        v.PageControl = {203, 74}; v.Title = {215, 55}; v.TitleBold = false;
        v.InfoColour = QColor(255, 255, 255);
        v.VersionTop = 165; v.MoreToolsTop = 180; v.InfoInFront = true;
        v.TransparentButtons = true;
        break;
    default:
        v.Min = {696, 4}; v.Close = {728, 4};
        v.Help = {40, 510}; v.HelpTag = 0; v.Log = {138, 510};
        v.BackLeft = 426; v.NextLeft = 522; v.ExitLeft = 672; v.WizardTop = 510;
        v.PageControl = {203, 74}; v.Title = {24, 43};
        v.InfoColour = QColor(0x80, 0x80, 0x80);
        break;
    }
    return v;
}

}  // namespace

const TLayoutVariant& LayoutVariant(int variant) {
    static const TLayoutVariant variants[4] = {Make(0), Make(1), Make(2), Make(3)};
    return variants[variant >= 0 && variant <= 3 ? variant : 0];
}

int GridColumns(const TGridLayout& grid, int sheetWidth) {
    const int columns = (sheetWidth - grid.LeftMargin - grid.HorizontalGap) / grid.CellWidth;
    return columns < 1 ? 1 : columns;
}

QPoint GridCell(const TGridLayout& grid, int sheetWidth, int k) {
    const int columns = GridColumns(grid, sheetWidth);
    return {grid.LeftMargin + (k % columns) * (grid.CellWidth + grid.HorizontalGap),
            grid.TopMargin + (k / columns) * (grid.CellHeight + grid.VerticalGap)};
}

std::vector<QPoint> LayOutButtons(const TGridLayout& grid, int sheetWidth,
                                  const std::vector<bool>& offered) {
    std::vector<QPoint> out;
    int k = 0;
    for (bool on : offered) out.push_back(on ? GridCell(grid, sheetWidth, k++) : kNoCell);
    return out;
}

int FormatPagesTop(int offeredClassCount) {
    return offeredClassCount < 2 ? kFormatPagesTopWithoutClasses : kFormatPagesTopWithClasses;
}

}  // namespace rc
