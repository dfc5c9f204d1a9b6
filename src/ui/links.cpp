#include "ui/links.h"

namespace velmora::ui {

namespace {

QUrl At(const char* site, const char* page) { return QUrl(QString::fromLatin1(site) + QString::fromLatin1(page)); }

}  // namespace

QUrl Links::OnlineHelpUrl() { return At(kProgramSite, "help.html"); }
QUrl Links::HomePageUrl() { return At(kMakerSite, ""); }
QUrl Links::DownloadPageUrl() { return At(kProgramSite, "download.html"); }
QUrl Links::DonationPageUrl() { return At(kHelpSite, "donate.html"); }
QUrl Links::CoBrandPageUrl() { return At(kHelpSite, "co-brand.html"); }
QUrl Links::FullBrandPageUrl() { return At(kHelpSite, "fully-branded.html"); }

QUrl Links::CoordinateSearchUrl(const QString& searchText) {
    // Everything but the unreserved characters is escaped, so '&', '#', '/'
    // or a second address in the text stay part of the query value.
    const QByteArray encoded = QUrl::toPercentEncoding(searchText);
    return QUrl::fromEncoded(QByteArrayLiteral("https://www.openstreetmap.org/search?query=") + encoded,
                             QUrl::StrictMode);
}

void Links::OpenOnlineHelp() { opener_.Open(OnlineHelpUrl()); }
void Links::OpenHomePage() { opener_.Open(HomePageUrl()); }
void Links::OpenDownloadPage() { opener_.Open(DownloadPageUrl()); }
void Links::OpenDonationPage() { opener_.Open(DonationPageUrl()); }
void Links::OpenCoBrandPage() { opener_.Open(CoBrandPageUrl()); }
void Links::OpenFullBrandPage() { opener_.Open(FullBrandPageUrl()); }
void Links::OpenCoordinateSearch(const QString& searchText) { opener_.Open(CoordinateSearchUrl(searchText)); }

}  // namespace velmora::ui
