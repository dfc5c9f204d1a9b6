#pragma once

// The JSON of Jaimini's tools and of the derivations (docs/json.md):
// charaKarakas, karakamsa, rashiDrishti, argala, grahaArudhas, charaDasha and
// explain, written into an open top-level object by any rapidjson-style
// writer (the indented one and the compact one of batch lines alike).

#include <string_view>

#include "analysis/derivations.h"
#include "analysis/jaimini.h"
#include "core/pipeline.h"
#include "core/text_formats.h"
#include "model/names.h"

namespace velmora::core {

namespace jaimini_json {

template <class W>
void Text(W& w, std::string_view s) {
    w.String(s.data(), static_cast<unsigned>(s.size()));
}

template <class W>
void Name(W& w, std::string_view s) {
    w.Key(s.data(), static_cast<unsigned>(s.size()));
}

template <class W>
void Sign(W& w, int sign) {
    Name(w, "sign");
    w.Int(sign);
    Name(w, "signName");
    Text(w, SignNameOf(sign));
}

template <class W>
void Bodies(W& w, const analysis::BodyList& list) {
    w.StartArray();
    for (int i = 0; i < list.Count; ++i) Text(w, kBodyNames[list.Bodies[static_cast<std::size_t>(i)]]);
    w.EndArray();
}

template <class W>
void Span(W& w, const analysis::CharaSpan& span) {
    Sign(w, span.Sign);
    Name(w, "start");
    Text(w, DateText(span.StartDate()));
    Name(w, "end");
    Text(w, DateText(span.EndDate()));
}

// A derivation as an array of its sentences.
template <class W>
void Sentences(W& w, const analysis::Derivation& derivation) {
    w.StartArray();
    for (std::size_t i = 0; i < derivation.size(); ++i) Text(w, derivation[i]);
    w.EndArray();
}

template <class W>
void Explain(W& w, const analysis::Derivations& why) {
    Name(w, "explain");
    w.StartObject();
    Name(w, "arudhaLagna");
    Sentences(w, why.ArudhaLagna());
    Name(w, "arudhaPadas");
    w.StartObject();
    for (std::size_t house = 0; house < why.Padas.size(); ++house) {
        Name(w, analysis::kPadaLabels[house]);
        Sentences(w, why.Padas[house]);
    }
    w.EndObject();
    Name(w, "charaKarakas");
    Sentences(w, why.CharaKarakas);
    Name(w, "karakamsa");
    Sentences(w, why.Karakamsa);
    // Where the periods start and which way they run, then the years of
    // each period in period order.
    Name(w, "charaDasha");
    w.StartArray();
    for (std::size_t i = 0; i < why.CharaDashaOrder.size(); ++i) Text(w, why.CharaDashaOrder[i]);
    for (const analysis::Derivation& years : why.CharaDashaYears)
        for (std::size_t i = 0; i < years.size(); ++i) Text(w, years[i]);
    w.EndArray();
    w.EndObject();
}

}  // namespace jaimini_json

// Writes the Jaimini keys of an analysis made with the toolkit; nothing for
// one without it. `explain` follows when the derivations were made.
template <class W>
void WriteJaimini(W& w, const BirthAnalysis& a) {
    using namespace jaimini_json;
    if (!a.Jaimini) return;
    const analysis::JaiminiTools& tools = *a.Jaimini;

    Name(w, "charaKarakas");
    w.StartObject();
    Name(w, "scheme");
    w.Int(tools.Karakas.Scheme);
    Name(w, "karakas");
    w.StartArray();
    for (int i = 0; i < tools.Karakas.Count; ++i) {
        const analysis::CharaKaraka& karaka = tools.Karakas.Ranked[static_cast<std::size_t>(i)];
        w.StartObject();
        Name(w, "karaka");
        Text(w, karaka.Name);
        Name(w, "body");
        Text(w, kBodyNames[karaka.Graha]);
        Name(w, "degreeInSign");
        w.Double(karaka.DegreeInSign);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();

    Name(w, "karakamsa");
    w.StartObject();
    Sign(w, tools.Karakamsa);
    w.EndObject();

    Name(w, "rashiDrishti");
    w.StartArray();
    for (int sign = 1; sign <= kSignCount; ++sign) {
        w.StartObject();
        Name(w, "sign");
        w.Int(sign);
        Name(w, "aspects");
        w.StartArray();
        for (int aspected : tools.Aspects[static_cast<std::size_t>(sign - 1)]) w.Int(aspected);
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();

    Name(w, "argala");
    w.StartArray();
    for (const analysis::ArgalaReference& reference : tools.Argala) {
        w.StartObject();
        Name(w, "from");
        Text(w, reference.From);
        Name(w, "sign");
        w.Int(reference.Sign);
        Name(w, "houses");
        w.StartArray();
        for (const analysis::ArgalaHouse& house : reference.Houses) {
            w.StartObject();
            Name(w, "house");
            w.Int(house.House);
            Name(w, "bodies");
            Bodies(w, house.Bodies);
            Name(w, "obstructionHouse");
            w.Int(house.ObstructionHouse);
            Name(w, "obstructingBodies");
            Bodies(w, house.Obstructing);
            Name(w, "state");
            Text(w, analysis::ArgalaStateName(house.State));
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();

    Name(w, "grahaArudhas");
    w.StartArray();
    for (const analysis::GrahaArudhaSet& set : tools.GrahaArudhas) {
        w.StartObject();
        Name(w, "body");
        Text(w, kBodyNames[set.Graha]);
        Name(w, "signs");
        w.StartArray();
        for (int i = 0; i < set.Count; ++i) {
            const analysis::GrahaArudha& arudha = set.Arudhas[static_cast<std::size_t>(i)];
            w.StartObject();
            Name(w, "ownSign");
            w.Int(arudha.OwnSign);
            Sign(w, arudha.Sign);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();

    Name(w, "charaDasha");
    w.StartObject();
    Name(w, "method");
    Text(w, "kn-rao");
    Name(w, "direction");
    Text(w, analysis::DirectionName(tools.CharaDasha.Forward));
    Name(w, "periods");
    w.StartArray();
    for (const analysis::CharaPeriod& period : tools.CharaDasha.Periods) {
        w.StartObject();
        Sign(w, period.Sign);
        Name(w, "years");
        w.Int(period.Years);
        Name(w, "start");
        Text(w, DateText(period.StartDate()));
        Name(w, "end");
        Text(w, DateText(period.EndDate()));
        Name(w, "sub");
        w.StartArray();
        for (const analysis::CharaSpan& sub : period.Sub) {
            w.StartObject();
            Span(w, sub);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();

    if (a.Why) Explain(w, *a.Why);
}

}  // namespace velmora::core
