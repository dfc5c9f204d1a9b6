#include "core/birth_file.h"

#include <rapidjson/document.h>
#include <rapidjson/encodedstream.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <set>
#include <vector>

#include "core/form_reading.h"
#include "core/input_filters.h"
#include "core/text_formats.h"
#include "core/text_numbers.h"

namespace velmora::core {

namespace {

using rapidjson::Value;

// The reader's state: the document and the first complaint.
class Reader {
public:
    explicit Reader(const Value& object) : object_(object) {}

    const std::string& Error() const { return error_; }
    bool Failed() const { return !error_.empty(); }

    // A key that must be there, of the given kind.
    const Value* Required(const Value& object, std::string_view key, std::string_view path = {}) {
        const Value* value = Find(object, key);
        if (!value && !Failed()) error_ = Quoted(Path(path, key)) + " is missing";
        return value;
    }
    const Value* Optional(const Value& object, std::string_view key) { return Find(object, key); }

    std::optional<std::string> String(const Value* value, std::string_view key, std::string_view path = {}) {
        if (!value || Failed()) return std::nullopt;
        if (!value->IsString()) return Wrong(key, path, "a text");
        return std::string(value->GetString(), value->GetStringLength());
    }
    std::optional<int> Whole(const Value* value, std::string_view key, std::string_view path = {}) {
        if (!value || Failed()) return std::nullopt;
        if (!value->IsInt()) return Wrong(key, path, "a whole number");
        return value->GetInt();
    }
    std::optional<double> Number(const Value* value, std::string_view key, std::string_view path = {}) {
        if (!value || Failed()) return std::nullopt;
        if (!value->IsNumber()) return Wrong(key, path, "a number");
        return value->GetDouble();
    }
    std::optional<bool> Boolean(const Value* value, std::string_view key, std::string_view path = {}) {
        if (!value || Failed()) return std::nullopt;
        if (!value->IsBool()) return Wrong(key, path, "true or false");
        return value->GetBool();
    }
    const Value* Object(const Value* value, std::string_view key) {
        if (!value || Failed()) return nullptr;
        if (!value->IsObject()) {
            Wrong(key, {}, "an object");
            return nullptr;
        }
        return value;
    }

    void Complain(std::string text) {
        if (!Failed()) error_ = std::move(text);
    }

    const Value& Root() const { return object_; }

private:
    static std::string Path(std::string_view path, std::string_view key) {
        return path.empty() ? std::string(key) : std::string(path) + "." + std::string(key);
    }
    static const Value* Find(const Value& object, std::string_view key) {
        const auto it = object.FindMember(Value(rapidjson::StringRef(key.data(), key.size())));
        return it == object.MemberEnd() ? nullptr : &it->value;
    }
    std::nullopt_t Wrong(std::string_view key, std::string_view path, std::string_view kind) {
        Complain(Quoted(Path(path, key)) + " must be " + std::string(kind));
        return std::nullopt;
    }

    const Value& object_;
    std::string error_;
};

void ReadPlace(Reader& r, const Value& place, FormInput& form) {
    PlacePick pick;
    const auto name = r.String(r.Required(place, "name", "place"), "name", "place");
    const auto state = r.String(r.Required(place, "state", "place"), "state", "place");
    const auto country = r.String(r.Required(place, "country", "place"), "country", "place");
    const auto zone = r.String(r.Required(place, "timeZone", "place"), "timeZone", "place");
    const auto latitude = r.Number(r.Required(place, "latitude", "place"), "latitude", "place");
    const auto longitude = r.Number(r.Required(place, "longitude", "place"), "longitude", "place");
    r.Whole(r.Optional(place, "utcOffsetMinutes"), "utcOffsetMinutes", "place");  // shown, not read back
    if (r.Failed()) return;
    if (std::fabs(*latitude) > 90) return r.Complain("\"place.latitude\" must lie from -90 to 90");
    if (std::fabs(*longitude) > 180) return r.Complain("\"place.longitude\" must lie from -180 to 180");
    if (zone->empty()) return r.Complain("\"place.timeZone\" must name a time zone, e.g. \"Asia/Kolkata\"");
    pick.Name = *name;
    pick.State = *state;
    pick.Country = *country;
    pick.TimeZone = *zone;
    pick.Latitude = *latitude;
    pick.Longitude = *longitude;
    form.Place = std::move(pick);
}

void ReadEphemeris(Reader& r, const Value& ephemeris, EngineSettings& settings) {
    const auto mode = r.String(r.Required(ephemeris, "mode", "ephemeris"), "mode", "ephemeris");
    const auto ayanamsa = r.String(r.Optional(ephemeris, "ayanamsa"), "ayanamsa", "ephemeris");
    const auto node = r.String(r.Optional(ephemeris, "node"), "node", "ephemeris");
    if (r.Failed()) return;
    const std::optional<EphemerisMode> parsedMode = ParseEphemerisMode(*mode);
    if (!parsedMode) return r.Complain("\"ephemeris.mode\" must be \"formulas\" or \"precise\", not " + Quoted(*mode));
    settings.Mode = *parsedMode;
    // The formulas have their own correction and node: JSON reports call
    // them "formula", which leaves the precise choices at their defaults.
    if (ayanamsa && *ayanamsa != "formula") {
        const auto parsed = astro::ParseAyanamsa(*ayanamsa);
        if (!parsed) return r.Complain("\"ephemeris.ayanamsa\" names no known ayanamsa: " + Quoted(*ayanamsa));
        settings.Ayanamsa = *parsed;
    }
    if (node && *node != "formula") {
        const auto parsed = astro::ParseNodeKind(*node);
        if (!parsed) return r.Complain("\"ephemeris.node\" must be \"mean\" or \"true\", not " + Quoted(*node));
        settings.Node = *parsed;
    }
}

template <class W>
void Str(W& w, std::string_view s) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

}  // namespace

std::string BirthFileText(const Birth& birth, const std::optional<EngineSettings>& ephemeris) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> w(buffer);
    w.SetIndent(' ', 2);
    w.StartObject();
    w.Key("format");
    Str(w, kBirthFileFormat);
    w.Key("version");
    w.Int(kBirthFileVersion);
    w.Key("name");
    Str(w, birth.Name);
    w.Key("date");
    Str(w, DateText(birth.Clock));
    w.Key("time");
    Str(w, ClockTimeText(birth.Clock));
    // The row stays beside an exact offset: the list keeps it underneath.
    w.Key("zoneRow");
    w.Int(birth.ZoneRow);
    w.Key("daylightSaving");
    w.Bool(birth.DaylightSaving);
    if (birth.ExactUtcOffsetMinutes) {
        w.Key("utcOffset");
        Str(w, OffsetText(*birth.ExactUtcOffsetMinutes));
    }
    w.Key("latitude");
    Str(w, LatitudeText(birth.Latitude));
    w.Key("longitude");
    Str(w, LongitudeText(birth.Longitude));
    w.Key("city");
    Str(w, birth.City);
    w.Key("state");
    Str(w, birth.State);
    w.Key("country");
    Str(w, birth.Country);
    if (birth.Place) {
        const PlacePick& pick = *birth.Place;
        w.Key("place");
        w.StartObject();
        w.Key("name");
        Str(w, pick.Name);
        w.Key("state");
        Str(w, pick.State);
        w.Key("country");
        Str(w, pick.Country);
        w.Key("timeZone");
        Str(w, pick.TimeZone);
        w.Key("latitude");
        w.Double(pick.Latitude);
        w.Key("longitude");
        w.Double(pick.Longitude);
        if (birth.PlaceClock) {
            w.Key("utcOffsetMinutes");
            w.Int(birth.PlaceClock->Zone.UtcOffsetMinutes);
        }
        w.EndObject();
    }
    if (ephemeris) {
        w.Key("ephemeris");
        w.StartObject();
        w.Key("mode");
        Str(w, EphemerisModeKey(ephemeris->Mode));
        w.Key("ayanamsa");
        Str(w, astro::AyanamsaKey(ephemeris->Ayanamsa));
        w.Key("node");
        Str(w, astro::NodeKindKey(ephemeris->Node));
        w.EndObject();
    }
    w.EndObject();
    std::string text(buffer.GetString(), buffer.GetSize());
    text += '\n';
    return text;
}

namespace {

// Passes a parse on to a document, reading every number exactly from its
// digits (rapidjson's own reading is off by a unit in the last place for
// many numbers, and its exact mode misreads a zero with an exponent), so a
// file written back holds the same digits.
// Whether the bytes are well-formed UTF-8 (no surrogates, no overlong forms).
// The reader checks the file's own bytes; this catches a text made well
// formed only on its face by a "\\u" escape of a lone surrogate.
bool IsWellFormedUtf8(const char* text, std::size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = s[i];
        std::size_t n = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (length - i <= n) return false;  // the sequence runs past the end
        for (std::size_t k = 1; k <= n; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        if ((n == 2 && code < 0x800) || (n == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

template <class Handler>
struct ExactNumbers {
    Handler& Next;

    bool Null() { return Next.Null(); }
    bool Bool(bool b) { return Next.Bool(b); }
    bool Int(int i) { return Next.Int(i); }
    bool Uint(unsigned u) { return Next.Uint(u); }
    bool Int64(std::int64_t i) { return Next.Int64(i); }
    bool Uint64(std::uint64_t u) { return Next.Uint64(u); }
    bool Double(double d) { return Next.Double(d); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
        const char* end = text + length;
        if (std::find_if(text, end, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == end) {
            std::int64_t whole = 0;
            const auto [at, ec] = std::from_chars(text, end, whole);
            if (ec == std::errc() && at == end) {
                if (whole >= INT32_MIN && whole <= INT32_MAX) return Next.Int(static_cast<int>(whole));
                return Next.Int64(whole);
            }
        }
        double value = 0;
        const auto [at, ec] = std::from_chars(text, end, value);
        if (at != end) return false;
        // Beyond a double's range: huge is refused by the reader's checks
        // as out of range; tiny is zero.
        if (ec == std::errc::result_out_of_range) value = std::fabs(value) < 1 ? 0.0 : HUGE_VAL;
        return Next.Double(value);
    }
    bool String(const char* text, rapidjson::SizeType length, bool copy) {
        return IsWellFormedUtf8(text, length) && Next.String(text, length, copy);
    }
    bool StartObject() { return Next.StartObject(); }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) {
        return IsWellFormedUtf8(text, length) && Next.Key(text, length, copy);
    }
    bool EndObject(rapidjson::SizeType members) { return Next.EndObject(members); }
    bool StartArray() { return Next.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) { return Next.EndArray(elements); }
};

// Refuses what a birth file never holds and the document would take
// silently or the parser could not survive: nesting deeper than
// kBirthFileMaxDepth, and a key given twice in one object (the document
// would keep both and the look-ups see the first).
template <class Handler>
struct StructureGuard {
    Handler& Next;
    std::string& Refusal;
    // The keys of each open object; an open array has an empty entry.
    std::vector<std::set<std::string, std::less<>>> Keys{};
    // The key under which each open container stands ("" at the top and in arrays).
    std::vector<std::string> Names{};
    std::string PendingName{};

    bool Open() {
        if (Keys.size() >= kBirthFileMaxDepth) {
            Refusal = "objects and arrays nest more than " + std::to_string(kBirthFileMaxDepth) +
                      " deep; a birth file nests two.";
            return false;
        }
        Keys.emplace_back();
        Names.push_back(PendingName);
        PendingName.clear();
        return true;
    }
    bool Close() {
        Keys.pop_back();
        Names.pop_back();
        PendingName.clear();
        return true;
    }

    bool Null() { return Scalar() && Next.Null(); }
    bool Bool(bool b) { return Scalar() && Next.Bool(b); }
    bool Int(int i) { return Scalar() && Next.Int(i); }
    bool Uint(unsigned u) { return Scalar() && Next.Uint(u); }
    bool Int64(std::int64_t i) { return Scalar() && Next.Int64(i); }
    bool Uint64(std::uint64_t u) { return Scalar() && Next.Uint64(u); }
    bool Double(double d) { return Scalar() && Next.Double(d); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool copy) {
        return Scalar() && Next.RawNumber(text, length, copy);
    }
    bool String(const char* text, rapidjson::SizeType length, bool copy) {
        return Scalar() && Next.String(text, length, copy);
    }
    bool StartObject() { return Open() && Next.StartObject(); }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) {
        const std::string key(text, length);
        if (!Keys.back().insert(key).second) {
            Refusal = "the key " + Quoted(key) + " appears twice";
            if (!Names.back().empty()) Refusal += " in " + Quoted(Names.back());
            Refusal += "; each key may be given once.";
            return false;
        }
        PendingName = key;
        return Next.Key(text, length, copy);
    }
    bool EndObject(rapidjson::SizeType members) { return Close() && Next.EndObject(members); }
    bool StartArray() { return Open() && Next.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) { return Close() && Next.EndArray(elements); }

private:
    // A value other than a container ends the key it stood under.
    bool Scalar() {
        PendingName.clear();
        return true;
    }
};

struct ExactParse {
    std::string_view Text;
    rapidjson::ParseResult Result;
    std::string Refusal{};  // StructureGuard's, when it stopped the parse

    template <class Handler>
    bool operator()(Handler& handler) {
        StructureGuard<Handler> guard{handler, Refusal};
        ExactNumbers<StructureGuard<Handler>> exact{guard};
        rapidjson::Reader reader;
        rapidjson::MemoryStream memory(Text.data(), Text.size());
        rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> input(memory);
        // Iterative: the parser's own depth costs no stack, whatever the text.
        Result = reader.Parse<rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag |
                              rapidjson::kParseIterativeFlag>(input, exact);
        return !Result.IsError();
    }
};

}  // namespace

BirthFileReading ReadBirthFile(std::string_view bytes) {
    BirthFileReading reading;
    auto refuse = [&](std::string error) {
        reading.Error = std::move(error);
        return reading;
    };
    if (bytes.size() > kBirthFileMaxBytes)
        return refuse("The file is larger than 64 KiB (" + std::to_string(bytes.size()) +
                      " bytes); a birth file holds a few hundred.");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

    rapidjson::Document document;
    ExactParse parse{bytes, {}};
    document.Populate(parse);
    if (!parse.Refusal.empty()) return refuse("Not a birth file: " + parse.Refusal);
    if (parse.Result.IsError()) {
        const rapidjson::ParseErrorCode code = parse.Result.Code();
        const std::string why = code == rapidjson::kParseErrorStringInvalidEncoding ? "it is not valid UTF-8"
                                : code == rapidjson::kParseErrorTermination
                                    ? "a text that is not valid Unicode, or a number out of reach"
                                    : std::string(rapidjson::GetParseError_En(code));
        return refuse("Not a birth file: the text is not JSON at byte " + std::to_string(parse.Result.Offset()) + " (" +
                      why + ").");
    }
    if (!document.IsObject()) return refuse("Not a birth file: the text is not a JSON object.");

    Reader r(document);
    const auto format = r.String(r.Required(document, "format"), "format");
    if (r.Failed()) return refuse(r.Error());
    if (*format != kBirthFileFormat)
        return refuse("Not a birth file: \"format\" is " + Quoted(*format) + ", not \"velmora-birth\".");
    const auto version = r.Whole(r.Required(document, "version"), "version");
    if (r.Failed()) return refuse(r.Error());
    if (*version < 1) return refuse("\"version\" must be 1 or more");
    if (*version > kBirthFileVersion)
        return refuse("The file is of version " + std::to_string(*version) + "; this program reads version " +
                      std::to_string(kBirthFileVersion) + ".");

    BirthFileContents contents;
    FormInput& form = contents.Form;
    const auto name = r.String(r.Required(document, "name"), "name");
    const auto date = r.String(r.Required(document, "date"), "date");
    const auto time = r.String(r.Required(document, "time"), "time");
    const Value* zoneRow = r.Required(document, "zoneRow");
    const auto daylightSaving = r.Boolean(r.Required(document, "daylightSaving"), "daylightSaving");
    const auto latitude = r.String(r.Required(document, "latitude"), "latitude");
    const auto longitude = r.String(r.Required(document, "longitude"), "longitude");
    const auto city = r.String(r.Required(document, "city"), "city");
    const auto state = r.String(r.Required(document, "state"), "state");
    const auto country = r.String(r.Required(document, "country"), "country");
    const auto utcOffset = r.String(r.Optional(document, "utcOffset"), "utcOffset");
    const Value* place = r.Object(r.Optional(document, "place"), "place");
    const Value* ephemeris = r.Object(r.Optional(document, "ephemeris"), "ephemeris");
    if (r.Failed()) return refuse(r.Error());

    // The name as the name box takes it: letters and blanks, in capitals.
    const std::optional<std::string> filteredName = FilterNameText(*name);
    if (!filteredName)
        return refuse("\"name\" holds more than letters and blanks: " + std::string(kOnlyLettersMessage));
    form.Name = *filteredName;
    if (auto failed = SetDateText(form, *date)) return refuse("\"date\": " + *failed);
    if (auto failed = SetTimeText(form, *time)) return refuse("\"time\": " + *failed);
    if (auto failed = SetLatitudeText(form, *latitude)) return refuse("\"latitude\": " + *failed);
    if (auto failed = SetLongitudeText(form, *longitude)) return refuse("\"longitude\": " + *failed);
    form.DaylightSaving = *daylightSaving;
    form.City = *city;
    form.State = *state;
    form.Country = *country;

    if (utcOffset) {
        const std::optional<int> minutes = ParseUtcOffset(*utcOffset);
        if (!minutes) return refuse("\"utcOffset\" must be like \"+05:45\" within 18 hours, not " + Quoted(*utcOffset));
        form.ExactUtcOffsetMinutes = minutes;
        form.DaylightSaving = false;
        if (!zoneRow->IsNull()) {
            const auto row = r.Whole(zoneRow, "zoneRow");
            if (!row) return refuse(r.Error());
            form.ZoneRow = *row;
        }
    } else {
        if (zoneRow->IsNull()) return refuse("\"zoneRow\" may be null only beside \"utcOffset\"");
        const auto row = r.Whole(zoneRow, "zoneRow");
        if (!row) return refuse(r.Error());
        form.ZoneRow = *row;
    }
    if (place) {
        ReadPlace(r, *place, form);
        if (r.Failed()) return refuse(r.Error());
    }
    if (ephemeris) {
        EngineSettings settings;
        ReadEphemeris(r, *ephemeris, settings);
        if (r.Failed()) return refuse(r.Error());
        contents.Ephemeris = settings;
    }

    // Whatever the input window would refuse, the file is refused with the
    // window's own words.
    const FormReading checked = ReadForm(form);
    if (const Notice* check = RefusalOf(checked)) {
        reading.Check = *check;
        return refuse(check->Text);
    }
    reading.Birth = std::move(contents);
    return reading;
}

}  // namespace velmora::core
