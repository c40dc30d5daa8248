#include "FormFailedAddFile.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Shell.h"

namespace rc {

TFormFailedAddFile::TFormFailedAddFile(const QList<TFailedFile>& files, const QString& supportAddress,
                                       QWidget* parent)
    : QDialog(parent), support_(supportAddress) {
    setObjectName("FormFailedAddFile");
    setWindowTitle("Failed to Add Files");
    auto* lay = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName("ImageIcon");
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto* text = new QLabel(
        "Failed to add the following files. The converter might not support the file type or might "
        "not support the codec that was used to compress the file. Click \"More Information\" to view a "
        "list of supported file types and releavant codecs.",
        this);
    text->setObjectName("LabelText");
    text->setWordWrap(true);
    top->addWidget(text, 1);
    lay->addLayout(top);

    list_ = new QTreeWidget(this);
    list_->setObjectName("ListViewFiles");
    list_->setRootIsDecorated(false);
    list_->setColumnCount(2);
    list_->setHeaderLabels({"File", "Reason"});
    list_->setColumnWidth(0, 380);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const TFailedFile& f : files) {
        auto* it = new QTreeWidgetItem(list_, {f.Path, f.Reason});
        it->setToolTip(0, f.Path);
        it->setToolTip(1, f.Reason);
    }
    lay->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    auto* more = new QPushButton("More Information...", this);
    more->setObjectName("ButtonMoreInformation");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("ButtonClose");
    close->setDefault(true);
    buttons->addWidget(more);
    buttons->addStretch(1);
    buttons->addWidget(close);
    lay->addLayout(buttons);
    connect(more, &QPushButton::clicked, this, &TFormFailedAddFile::ButtonMoreInformationClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(620, 340);
}

int TFormFailedAddFile::RowCount() const { return list_->topLevelItemCount(); }

void TFormFailedAddFile::ButtonMoreInformationClick() { ShellOpen(support_); }

}  // namespace rc
