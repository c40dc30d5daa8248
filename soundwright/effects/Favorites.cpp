#include "Favorites.h"

#include <QAction>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <memory>

#include "IniFile.h"
#include "ShortcutText.h"

namespace {

std::unique_ptr<sw::IniFile> Snapshot(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return sw::IniFile::FromBytes({});
    return sw::IniFile::FromBytes(f.readAll());
}

bool WriteList(const QString& path, const QList<TFavorite>& favorites, QString* error) {
    sw::IniFile ini(path);
    sw::IniUpdate update(ini);
    for (const TFavorite& f : favorites) {
        ini.WriteString(f.Name, QStringLiteral("ShortCut"), f.ShortCut);
        ini.WriteString(f.Name, QStringLiteral("Effect"), f.Effect);
        ini.WriteString(f.Name, QStringLiteral("Flag"), f.Flag);
        ini.WriteString(f.Name, QStringLiteral("ShowDialog"), f.ShowDialog ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (update.finish()) return true;
    if (error) *error = ini.errorString();
    return false;
}

TFavorite ReadOne(const sw::IniFile& ini, const QString& section) {
    TFavorite f;
    f.Name = section;
    f.ShortCut = ini.ReadString(section, QStringLiteral("Shortcut"), QString());
    f.Effect = ini.ReadString(section, QStringLiteral("Effect"), QString());
    f.Flag = ini.ReadString(section, QStringLiteral("Flag"), QString());
    f.ShowDialog = ini.ReadBool(section, QStringLiteral("ShowDialog"), false);
    return f;
}

// Paints the rows: white/black, selected grey $808080 with white text, the
// text 8 pixels in and 2 pixels down from the row's top left corner.
class FavoriteItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, selected ? QColor(0x80, 0x80, 0x80) : QColor(Qt::white));
        p->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        p->setFont(option.font);
        const QRect textRect = option.rect.adjusted(8, 2, 0, 0);
        p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect;
            focus.state = option.state;
            focus.backgroundColor = selected ? QColor(0x80, 0x80, 0x80) : QColor(Qt::white);
            if (const QWidget* w = option.widget) w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, w);
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(FavoriteListBox::kItemHeight);
        return s;
    }
};

}  // namespace

const QStringList& FavoriteEffectNames() {
    static const QStringList names = {
        "Echo",        "Vibrato",      "Reverb",     "Amplify",      "Fade",          "Normalize",
        "Compressor",  "Chorus",       "Flanger",    "Phaser",       "Speed Change",  "Pitch Change",
        "PeakEQ",      "Notch Filter", "Band Pass",  "Low Pass",     "High Pass",     "Low Shelf",
        "High Shelf",  "Mix Stereo",   "Invert",     "Reverse",      "Noise Reduction"};
    return names;
}

const QList<TFavorite>& DefaultFavorites() {
    static const QList<TFavorite> list = {
        {"Half Volume", "Ctrl+H", "50", "Amplify", false},
        {"Double Volume", "Ctrl+D", "200", "Amplify", false},
        {"Fade In", "", "0,100", "Fade", false},
        {"Fade Out", "", "100,0", "Fade", false},
        {"Normalize Audio Level", "", "75", "Normalize", false},
        {"Double Speed", "Ctrl+1", "200", "Speed Change", false},
        {"Slow Down Speed", "Ctrl+2", "70", "Speed Change", false},
        {"Many Echoes", "Ctrl+3", "500,50,70", "Echo", false},
        {"Very Large Cavern Effect", "Ctrl+4", "360,35,50", "Echo", false},
        {"Allien Saying Effect", "Ctrl+5", "30,60,60,30,11025,8", "Reverb", false},
        {"Radio", "Ctrl+6", "2000", "High Pass", false},
        {"Cassette Noise Reduce", "Ctrl+7", "-13,99,55", "Noise Reduction", false},
    };
    return list;
}

bool WriteDefaultFavorites(const QString& path, QString* error) {
    if (QFile::exists(path)) return true;
    return WriteList(path, DefaultFavorites(), error);
}

bool WriteFavorites(const QString& path, const QList<TFavorite>& favorites, QString* error) {
    return WriteList(path, favorites, error);
}

QList<TFavorite> ReadFavorites(const QString& path) {
    const auto ini = Snapshot(path);
    QList<TFavorite> list;
    for (const QString& section : ini->ReadSections()) list.append(ReadOne(*ini, section));
    return list;
}

QString FavoriteItemText(const TFavorite& f) {
    return f.ShortCut.isEmpty() ? f.Name : QStringLiteral("%1 (%2)").arg(f.Name, f.ShortCut);
}

std::optional<TFavorite> FindFavoriteByShortcut(const QList<TFavorite>& favorites, const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    for (const TFavorite& f : favorites)
        if (f.ShortCut == text) return f;
    return std::nullopt;
}

void ParseEffectParameters(const QString& text, TEffectParameters& params) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > kMaxEffectParameters)
        throw EffectParameterError(
            QStringLiteral("'%1' holds more than %2 effect parameters").arg(text).arg(kMaxEffectParameters).toStdString());
    TEffectParameters values = params;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts.at(i).trimmed();
        bool ok = false;
        const int v = part.toInt(&ok, 10);
        if (!ok) throw EffectParameterError(QStringLiteral("'%1' is not a valid integer value").arg(parts.at(i)).toStdString());
        values[static_cast<size_t>(i)] = v;
    }
    params = values;
}

FavoriteListBox::FavoriteListBox(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("FavoriteListBox"));
    setItemDelegate(new FavoriteItemDelegate(this));
    setUniformItemSizes(true);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void FavoriteListBox::mouseMoveEvent(QMouseEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && row != currentRow()) setCurrentRow(row);
    QListWidget::mouseMoveEvent(event);
}

TFavoriteCommands::TFavoriteCommands(QWidget* window, FavoriteListBox* listBox, QString path, QObject* parent)
    : QObject(parent), window_(window), listBox_(listBox), path_(std::move(path)) {
    if (listBox_)
        connect(listBox_, &QListWidget::itemDoubleClicked, this, [this] { FavoriteListBoxDblClick(); });
}

void TFavoriteCommands::LoadFavorites() {
    if (listBox_) listBox_->clear();
    delete actionList_;  // its actions leave the window with it
    actionList_ = new QObject(window_ ? static_cast<QObject*>(window_) : this);
    actionList_->setObjectName(QStringLiteral("ActionListFavorite"));
    for (const TFavorite& f : ReadFavorites(path_)) {
        if (listBox_) listBox_->addItem(FavoriteItemText(f));
        auto* a = new QAction(f.Name, actionList_);
        a->setShortcut(TextToShortcut(f.ShortCut));
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, a] { RunFavoriteShortcut(a); });
        if (window_) window_->addAction(a);
    }
}

QList<QAction*> TFavoriteCommands::FavoriteActions() const {
    if (!actionList_) return {};
    return actionList_->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFavoriteCommands::RunFavoriteShortcut(QAction* action) {
    if (!action) return;
    const auto found = FindFavoriteByShortcut(ReadFavorites(path_), ShortcutToText(action->shortcut()));
    if (found && ApplyFavorite) ApplyFavorite(*found);
}

void TFavoriteCommands::FavoriteListBoxDblClick() {
    if (!listBox_) return;
    const int row = listBox_->currentRow();
    if (row < 0 || !listBox_->item(row)->isSelected()) return;
    const QList<TFavorite> list = ReadFavorites(path_);
    if (row < list.size() && ApplyFavorite) ApplyFavorite(list.at(row));
}
