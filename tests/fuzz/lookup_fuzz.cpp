// The coordinate look-up: the checks of city, state and country, the search
// text built from them and the map address it is put into. Whatever is
// typed, the address must open the map site's search page with the text,
// whole and unchanged, as its only query value.

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include <cstring>
#include <string>

#include "core/validation.h"
#include "fuzz_support.h"
#include "ui/links.h"

namespace {

using namespace velmora;
using namespace velmora::core;

constexpr char kAddressStart[] = "https://www.openstreetmap.org/search?query=";

bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The address opens the search page and carries exactly one query value.
// Returns the bytes the site receives as that value, escapes undone.
QByteArray CheckAddress(const QUrl& url) {
    VELMORA_FUZZ_CHECK(url.isValid());
    VELMORA_FUZZ_CHECK(url.scheme() == QLatin1String("https"));
    VELMORA_FUZZ_CHECK(url.host() == QLatin1String("www.openstreetmap.org"));
    VELMORA_FUZZ_CHECK(url.port() == -1 && url.userInfo().isEmpty());
    VELMORA_FUZZ_CHECK(url.path() == QLatin1String("/search"));
    VELMORA_FUZZ_CHECK(!url.hasFragment());

    const QByteArray encoded = url.toEncoded();
    VELMORA_FUZZ_CHECK(encoded.startsWith(kAddressStart));
    // After the start, only unreserved characters and escapes.
    for (qsizetype i = qsizetype(sizeof kAddressStart) - 1; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '%') {
            VELMORA_FUZZ_CHECK(i + 2 < encoded.size() && IsHex(encoded[i + 1]) && IsHex(encoded[i + 2]));
            i += 2;
        } else {
            VELMORA_FUZZ_CHECK(Unreserved(c));
        }
    }

    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyEncoded);
    VELMORA_FUZZ_CHECK(items.size() == 1);
    VELMORA_FUZZ_CHECK(items.front().first == QLatin1String("query"));
    // (Not QUrlQuery's decoded value: Qt leaves non-characters such as
    // U+3FFFF escaped there, though the address carries them correctly.)
    return QByteArray::fromPercentEncoding(encoded.mid(qsizetype(sizeof kAddressStart) - 1));
}

// The site receives the text's UTF-8, whole and unchanged.
void CheckSearch(const QString& text) {
    VELMORA_FUZZ_CHECK(CheckAddress(ui::Links::CoordinateSearchUrl(text)) == text.toUtf8());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::TextOf(data, size);

    // The texts of the three boxes, one per line.
    const std::vector<std::string> fields = fuzz::SplitFields(bytes, 3);
    FormInput form;
    form.City = fields[0];
    form.State = fields[1];
    form.Country = fields[2];
    const std::optional<Notice> refusal = ValidateLookup(form);
    if (form.City.empty()) {
        VELMORA_FUZZ_CHECK(refusal && refusal->Focus == FormField::City);
    } else if (form.State.empty()) {
        VELMORA_FUZZ_CHECK(refusal && refusal->Focus == FormField::State);
    } else if (form.Country.empty()) {
        VELMORA_FUZZ_CHECK(refusal && refusal->Focus == FormField::Country);
    } else {
        VELMORA_FUZZ_CHECK(!refusal);
    }
    const std::string searchText = LookupSearchText(form);
    VELMORA_FUZZ_CHECK(searchText == form.City + " " + form.State + " " + form.Country + " Latitude Longitude");
    CheckSearch(QString::fromStdString(searchText));

    // The whole input as one search text, and read as UTF-16 (which may
    // hold lone surrogates: they travel as UTF-8's replacement character).
    CheckSearch(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    if (size >= 2) {
        std::u16string units(size / 2, u'\0');
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
        CheckSearch(QString::fromStdU16String(units));
    }
    return 0;
}
