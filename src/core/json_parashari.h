#pragma once

// The JSON of the Parashari tables (docs/json.md): written by the analysis
// writer, with whatever rapidjson-style writer it uses.

#include <string_view>

#include "analysis/dasha.h"
#include "analysis/vargas.h"
#include "analysis/yogini.h"
#include "core/pipeline.h"
#include "core/text_formats.h"

namespace velmora::core::json_parashari {

template <class W>
void Text(W& w, std::string_view s) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

template <class W>
void Name(W& w, std::string_view s) {
    w.Key(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

template <class W>
void Moment(W& w, std::string_view key, UtMoment moment) {
    Name(w, key);
    const auto text = UtMomentChars(moment);
    Text(w, std::string_view(text.data(), text.size()));
}

template <class W>
void Date(W& w, std::string_view key, UtMoment moment) {
    Name(w, key);
    Text(w, DateText(analysis::UtDateOf(moment)));
}

// "start" and "end" as dates, then "startMoment" and "endMoment": each
// moment's text made once, its first ten characters the date.
template <class W>
void DatesAndMoments(W& w, UtMoment start, UtMoment end) {
    const auto from = UtMomentChars(start);
    const auto to = UtMomentChars(end);
    Name(w, "start");
    Text(w, std::string_view(from.data(), 10));
    Name(w, "end");
    Text(w, std::string_view(to.data(), 10));
    Name(w, "startMoment");
    Text(w, std::string_view(from.data(), from.size()));
    Name(w, "endMoment");
    Text(w, std::string_view(to.data(), to.size()));
}

template <class W>
void Numbered(W& w, std::string_view key, int number, std::string_view name) {
    Name(w, key);
    w.StartObject();
    Name(w, "number");
    w.Int(number);
    Name(w, "name");
    Text(w, name);
}

// "HH:MM" or null.
template <class W>
void ClockOrNull(W& w, std::string_view key, const std::string& text) {
    Name(w, key);
    if (text.empty()) {
        w.Null();
    } else {
        Text(w, text);
    }
}

}  // namespace velmora::core::json_parashari

namespace velmora::core {

// At the end of each bodies[] entry: speed, nakshatra, nakshatraName,
// nakshatraPada.
template <class W>
void WriteBodyParashari(W& w, const BirthAnalysis& a, std::size_t body) {
    using namespace json_parashari;
    const analysis::NakshatraPada& n = a.Nakshatras[body];
    Name(w, "speed");
    w.Double(a.Positions.Speeds[body]);
    Name(w, "nakshatra");
    w.Int(n.Nakshatra);
    Name(w, "nakshatraName");
    Text(w, n.Name);
    Name(w, "nakshatraPada");
    w.Int(n.Pada);
}

// At the end of a maha or antar dasha: startMoment, endMoment.
template <class W>
void WriteDashaMoments(W& w, const analysis::DashaSpan& span) {
    json_parashari::Moment(w, "startMoment", span.Start);
    json_parashari::Moment(w, "endMoment", span.End);
}

// At the end of the dasha object: the days of its year.
template <class W>
void WriteDashaYear(W& w, const analysis::DashaTable& table) {
    json_parashari::Name(w, "yearDays");
    w.Double(table.YearDays);
}

// At the end of an antar dasha: its pratyantars from birth on.
template <class W>
void WriteAntarSub(W& w, const analysis::DashaTable& table, const analysis::AntarDasha& antar) {
    using namespace json_parashari;
    Name(w, "sub");
    w.StartArray();
    for (const analysis::DashaPeriod& p : analysis::PratyantarsOf(table, antar)) {
        w.StartObject();
        Name(w, "lord");
        Text(w, analysis::kDashaLords[static_cast<std::size_t>(p.Lord)].Name);
        DatesAndMoments(w, p.Start, p.End);
        w.EndObject();
    }
    w.EndArray();
}

template <class W>
void WriteVargas(W& w, const BirthAnalysis& a) {
    using namespace json_parashari;
    Name(w, "vargas");
    w.StartObject();
    for (std::size_t v = 0; v < analysis::kVargaCount; ++v) {
        Name(w, analysis::VargaKey(analysis::kAllVargas[v]));
        w.StartArray();
        for (int sign : a.Vargas[v]) w.Int(sign);
        w.EndArray();
    }
    w.EndObject();
}

template <class W>
void WritePanchanga(W& w, const BirthAnalysis& a) {
    using namespace json_parashari;
    const analysis::Panchanga& p = a.Panchanga;
    Name(w, "panchanga");
    w.StartObject();
    Numbered(w, "vara", p.Vara.Number, p.Vara.Name);
    w.EndObject();
    Numbered(w, "tithi", p.Tithi.Number, p.Tithi.Name);
    Name(w, "paksha");
    Text(w, p.Tithi.Paksha);
    w.EndObject();
    Numbered(w, "nakshatra", p.Nakshatra.Nakshatra, p.Nakshatra.Name);
    Name(w, "pada");
    w.Int(p.Nakshatra.Pada);
    w.EndObject();
    Numbered(w, "yoga", p.Yoga.Number, p.Yoga.Name);
    w.EndObject();
    Numbered(w, "karana", p.Karana.Number, p.Karana.Name);
    w.EndObject();
    ClockOrNull(w, "sunrise", p.SunriseText);
    ClockOrNull(w, "sunset", p.SunsetText);
    w.EndObject();
}

template <class W>
void WriteYoginiDasha(W& w, const analysis::YoginiTable& table) {
    using namespace json_parashari;
    Name(w, "yoginiDasha");
    w.StartObject();
    Name(w, "system");
    Text(w, "yogini");
    Name(w, "balanceYears");
    w.Double(table.BalanceYears);
    Name(w, "periods");
    w.StartArray();
    for (const analysis::YoginiMaha& maha : table.Periods) {
        w.StartObject();
        Name(w, "yogini");
        Text(w, maha.YoginiName);
        Name(w, "lord");
        Text(w, maha.LordName);
        Name(w, "years");
        w.Int(maha.Years);
        Date(w, "start", maha.Start);
        Date(w, "end", maha.End);
        Name(w, "sub");
        w.StartArray();
        for (const analysis::YoginiSpan& antar : maha.Sub) {
            w.StartObject();
            Name(w, "yogini");
            Text(w, antar.YoginiName);
            Name(w, "lord");
            Text(w, antar.LordName);
            Date(w, "start", antar.Start);
            Date(w, "end", antar.End);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

// After the toolkit: vargas, panchanga, yoginiDasha.
template <class W>
void WriteParashariTables(W& w, const BirthAnalysis& a) {
    WriteVargas(w, a);
    WritePanchanga(w, a);
    WriteYoginiDasha(w, a.Yogini);
}

}  // namespace velmora::core
