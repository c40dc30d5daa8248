#pragma once
// Favourites: named effects with fixed parameters and an optional shortcut,
// kept in Favorite8pre.dat (one section per favourite, keys "ShortCut",
// "Effect", "Flag", "ShowDialog").
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>

class QAction;

struct TFavorite {
    QString Name;        // section name, shown in the lists
    QString ShortCut;    // shortcut text, empty for none
    QString Effect;      // parameter text "v1,v2,..." (empty for Invert and Reverse)
    QString Flag;        // effect name, one of FavoriteEffectNames()
    bool ShowDialog = false;
    bool operator==(const TFavorite&) const = default;
};

// The 23 effect names a favourite can carry, in the favourites editor's order.
const QStringList& FavoriteEffectNames();

// The twelve favourites written on first start, in order.
const QList<TFavorite>& DefaultFavorites();

// When the file does not exist, writes the default favourites. An existing
// file is left alone. False (and *error set) when the write fails.
bool WriteDefaultFavorites(const QString& path, QString* error = nullptr);

// Writes the favourites in order (existing sections are updated in place,
// new ones appended). False (and *error set) when the write fails.
bool WriteFavorites(const QString& path, const QList<TFavorite>& favorites, QString* error = nullptr);

// The favourites of the file in file order ("Shortcut" matched without regard
// to case; a missing "ShowDialog" reads as false, other missing keys empty).
QList<TFavorite> ReadFavorites(const QString& path);

// "Name (Shortcut)", or the name alone without a shortcut.
QString FavoriteItemText(const TFavorite& favorite);

// The first favourite whose shortcut text equals `text` exactly; none for an
// empty text.
std::optional<TFavorite> FindFavoriteByShortcut(const QList<TFavorite>& favorites, const QString& text);

// Effect parameter values handed to the appliers. Six values is the longest
// parameter text an effect uses (reverb, chorus, flanger).
constexpr int kMaxEffectParameters = 6;
using TEffectParameters = std::array<qint32, kMaxEffectParameters>;

class EffectParameterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits the text at "," and converts each part to a decimal integer into
// params[0], params[1], ...; elements beyond those filled keep their values.
// An empty or non-numeric part, or more than kMaxEffectParameters parts,
// throws EffectParameterError (with the text to show) and leaves params as
// they were.
void ParseEffectParameters(const QString& text, TEffectParameters& params);

// The list of favourites on the command list: owner-drawn rows of 18 pixels,
// white with black text, the selected row grey with white text; hovering
// selects the row under the mouse.
class FavoriteListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 18;
    explicit FavoriteListBox(QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// Keeps the favourites' list items and shortcut actions of the main window.
// The shortcut actions are children of the object named "ActionListFavorite",
// which LoadFavorites frees and creates anew; the actions are added to the
// window so that their shortcuts work there.
class TFavoriteCommands : public QObject {
    Q_OBJECT
public:
    TFavoriteCommands(QWidget* window, FavoriteListBox* listBox, QString path, QObject* parent = nullptr);

    const QString& path() const { return path_; }
    // Rebuilds the list items and the shortcut actions from the file.
    void LoadFavorites();
    QObject* ActionListFavorite() const { return actionList_; }
    QList<QAction*> FavoriteActions() const;

    // A favourite's shortcut was pressed: the first favourite of the file
    // whose shortcut text equals the action's goes to ApplyFavorite.
    void RunFavoriteShortcut(QAction* action);
    // Double click on the list: the favourite at the selected row of the file
    // goes to ApplyFavorite.
    void FavoriteListBoxDblClick();

    // Set by the main window: applies one favourite.
    std::function<void(const TFavorite&)> ApplyFavorite;

private:
    QWidget* window_;
    FavoriteListBox* listBox_;
    QString path_;
    QObject* actionList_ = nullptr;
};
