#include "Identity.h"

#include <QFileInfo>

#include "IniFile.h"

namespace {

struct Row {
    const char* name;
    int scheme;
    bool hideCompanions;
};

// The first row is the default.
const Row kRows[] = {
    {"Soundwright", 0, false},
    {"Soundwright Lite", 2, true},
    {"Soundwright Studio", 1, false},
};

}  // namespace

QString DefaultDisplayName() { return QString::fromLatin1(kRows[0].name); }

ProductIdentity IdentityFor(const QString& displayName) {
    const Row* row = &kRows[0];
    for (const Row& r : kRows)
        if (displayName.compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0) row = &r;
    ProductIdentity id;
    id.displayName = displayName.isEmpty() ? DefaultDisplayName() : displayName;
    id.colorScheme = row->scheme;
    id.hideCompanions = row->hideCompanions;
    const QString site = QString::fromLatin1(kProjectSite);
    id.productPage = site + "/editor";
    id.supportPage = site + "/support";
    id.homePage = site;
    return id;
}

ProductIdentity ReadProfile(const QString& profilePath) {
    QString name, version;
    if (QFileInfo(profilePath).isFile()) {
        const sw::IniFile profile(profilePath);
        name = profile.ReadString("SYSTEM", "Name", "").trimmed();
        version = profile.ReadString("SYSTEM", "Version", "").trimmed();
    }
    ProductIdentity id = IdentityFor(name);
    id.version = version;
    return id;
}
