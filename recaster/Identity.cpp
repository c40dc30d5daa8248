#include "Identity.h"

#include <vector>

namespace rc {

namespace {

TIdentity Row(const QString& title, const QString& icon, const QString& page, bool companion,
              bool shortWording) {
    const QString base = kProjectSite + page;
    TIdentity r;
    r.Title = title;
    r.IconName = icon;
    r.HelpContent = base + kPathHelpContent;
    r.HowTos = base + kPathHowTos;
    r.HomePage = base + "/";
    r.MoreTools = base + kPathMoreTools;
    r.Updates = base + kPathUpdates;
    r.Support = base + kPathSupport;
    r.Companion = companion;
    r.ShortMoreTools = shortWording;
    return r;
}

const std::vector<TIdentity>& Rows() {
    static const std::vector<TIdentity> rows = {
        Row("Recaster", "recaster", "recaster", false, false),
        Row("WebFetch", "webfetch", "soundwright/webfetch", true, true),
        Row("ClipSoundPull", "clipsoundpull", "soundwright/clipsoundpull", true, true),
    };
    return rows;
}

struct TFamily {
    QString Word;   // lower case
    QString Base;   // ends in "/"
    QString Icon;
    bool ShortWording;
};

const std::vector<TFamily>& Families() {
    static const std::vector<TFamily> families = {
        {"recaster", kProjectSite + "recaster/", "recaster", false},
        {"soundwright", kProjectSite + "soundwright/", "recaster", true},
    };
    return families;
}

}  // namespace

const TIdentity& DefaultIdentity() {
    static const TIdentity row = Row("", "recaster", "recaster", false, false);
    return row;
}

TIdentity IdentityFor(const QString& title) {
    for (const TIdentity& r : Rows())
        if (r.Title.compare(title, Qt::CaseInsensitive) == 0) return r;
    const QString lower = title.toLower();
    for (const TFamily& f : Families()) {
        if (!lower.contains(f.Word)) continue;
        QString rest = lower;
        rest.remove(f.Word);
        rest.remove(' ');
        TIdentity r;
        r.Title = title;
        r.IconName = f.Icon;
        const QString base = f.Base + rest;
        r.HelpContent = base + kPathHelpContent;
        r.HowTos = base + kPathHowTos;
        r.HomePage = base + "/";
        r.MoreTools = base + kPathMoreTools;
        r.Updates = base + kPathUpdates;
        r.Support = base + kPathSupport;
        r.Companion = false;
        r.ShortMoreTools = f.ShortWording;
        return r;
    }
    return DefaultIdentity();
}

bool IsCompanionBuild(const QString& title) { return IdentityFor(title).Companion; }

}  // namespace rc
