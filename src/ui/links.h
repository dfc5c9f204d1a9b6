#pragma once

#include <QString>
#include <QUrl>

#include "ui/platform.h"

namespace velmora::ui {

// The maker's three sites. They live under the reserved documentation
// domain, so no one else's site is ever opened by mistake.
inline constexpr const char* kMakerSite = "https://www.velmora.example/";
inline constexpr const char* kHelpSite = "https://help.velmora.example/";
inline constexpr const char* kProgramSite = "https://arudha.velmora.example/";

// Shown in the banner and the about window.
inline constexpr const char* kForumAddress = "www.velmora.example/forum";

// The web pages of the program and its maker. Each operation opens one
// fixed address in the default browser and reports nothing.
class Links {
public:
    explicit Links(UrlOpener& opener) : opener_(opener) {}

    void OpenOnlineHelp();     // the program's help page
    void OpenHomePage();       // the maker's home page
    void OpenDownloadPage();   // the program's download page
    void OpenDonationPage();   // donate.html on the help site
    void OpenCoBrandPage();    // co-brand.html on the help site
    void OpenFullBrandPage();  // fully-branded.html on the help site

    // A map search for the coordinates of a place: the search text is
    // percent-encoded into the address, so no typed character can change
    // which page opens.
    void OpenCoordinateSearch(const QString& searchText);

    static QUrl OnlineHelpUrl();
    static QUrl HomePageUrl();
    static QUrl DownloadPageUrl();
    static QUrl DonationPageUrl();
    static QUrl CoBrandPageUrl();
    static QUrl FullBrandPageUrl();
    static QUrl CoordinateSearchUrl(const QString& searchText);

private:
    UrlOpener& opener_;
};

}  // namespace velmora::ui
