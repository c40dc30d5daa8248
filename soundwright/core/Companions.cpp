#include "Companions.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "DialogConventions.h"
#include "WaitCursor.h"

QString CompanionPath(const QString& exeDir, const QString& relativePath) {
    QString relative = relativePath;
    relative.replace('\\', '/');
    if (relative.endsWith(".exe", Qt::CaseInsensitive)) relative.chop(4);
    QString dir = exeDir;
    if (!dir.endsWith('/')) dir += '/';
    return dir + relative;
}

bool StartCompanion(const QString& exeDir, const QString& relativePath) {
    sw::WaitCursor wait;
    const QString path = CompanionPath(exeDir, relativePath);
    const QFileInfo fi(path);
    if (!fi.isFile() || !fi.isExecutable()) return false;
    return QProcess::startDetached(path, {"-zest"});
}

const QStringList& MixerPrograms() {
    static const QStringList programs = {"pavucontrol", "pavucontrol-qt", "gnome-control-center", "kmix"};
    return programs;
}

QString FindMixerProgram() {
    for (const QString& p : MixerPrograms()) {
        const QString found = QStandardPaths::findExecutable(p);
        if (!found.isEmpty()) return found;
    }
    return {};
}

bool StartMixer() {
    const QString program = FindMixerProgram();
    if (program.isEmpty()) return false;
    // GNOME's settings open on their sound page when asked.
    const QStringList args = QFileInfo(program).fileName() == "gnome-control-center" ? QStringList{"sound"}
                                                                                     : QStringList{};
    return QProcess::startDetached(program, args);
}

namespace {
WebPageOpener& Opener() {
    static WebPageOpener opener;
    return opener;
}
}  // namespace

WebPageOpener SetWebPageOpener(WebPageOpener opener) {
    WebPageOpener previous = Opener();
    Opener() = std::move(opener);
    return previous;
}

bool OpenWebPage(const QString& address) {
    sw::WaitCursor wait;
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "https" && url.scheme() != "http")) return false;
    if (Opener()) return Opener()(url);
    return QDesktopServices::openUrl(url);
}

TFormAbout::TFormAbout(const QString& displayName, const QString& version, const QString& productPage,
                       QWidget* parent)
    : QDialog(parent) {
    setObjectName("FormAbout");
    setWindowTitle("About " + displayName);
    auto* column = new QVBoxLayout(this);
    LabelTitle = new QLabel(QString("%1 version: %2").arg(displayName, version), this);
    LabelTitle->setObjectName("LabelTitle");
    QFont f = LabelTitle->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    LabelTitle->setFont(f);
    column->addWidget(LabelTitle);
    auto* text = new QLabel(QString("An audio editor: record, edit, apply effects and save as WAV, MP3, OGG "
                                    "or WMA.<br><a href=\"%1\">%1</a>")
                                .arg(productPage.toHtmlEscaped()),
                            this);
    text->setObjectName("LabelDescription");
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(false);
    connect(text, &QLabel::linkActivated, this, [](const QString& link) { OpenWebPage(link); });
    column->addWidget(text);
    ButtonOK = new QPushButton("&OK", this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ButtonOK);
    column->addLayout(row);
    setMinimumWidth(360);
    sw::ApplyHintFont(this);
}
