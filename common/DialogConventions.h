#pragma once
// Conventions every window follows: modal dialogs open centred over their
// owner, and controls drawn in "Tahoma" take the system's hint font.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QWidget;

namespace sw {

// Top-left of a dialog centred over the owner's frame: owner top +
// (owner height - dialog height) / 2, and likewise for the left, the halves
// rounded toward zero.
QPoint CentredTopLeft(const QRect& owner, const QSize& dialog);

// Moves the dialog (frame) to CentredTopLeft of the owner's frame. A dialog
// that was never resized gets its preferred size first, as show() would.
void PlaceCentredOver(QWidget* dialog, const QWidget* owner);

// Places the dialog over the owner and runs it modally; returns exec().
int ExecCentred(QDialog* dialog, const QWidget* owner);

// Gives every widget of the tree (the root included) whose font family is
// "Tahoma" the family `hintFamily`, unless the hint font is not installed or
// is Tahoma itself. Returns the number of widgets changed.
int SubstituteFontFamily(QWidget* root, const QString& hintFamily, bool hintInstalled);

// SubstituteFontFamily with the tool-tip font as the hint font, installed when
// the font database knows its family.
int ApplyHintFont(QWidget* window);

}  // namespace sw
