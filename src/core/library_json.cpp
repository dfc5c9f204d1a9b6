#include "core/library_json.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace velmora::core {

std::string LibraryRowJson(const LibraryRow& row) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    auto text = [&w](const std::string& s) { w.String(s.data(), static_cast<rapidjson::SizeType>(s.size())); };
    w.StartObject();
    w.Key("id");
    w.Int64(row.Id);
    const std::pair<const char*, const std::string*> before[] = {
        {"name", &row.Name}, {"date", &row.Date}, {"time", &row.Time}, {"place", &row.Place}};
    for (const auto& [key, value] : before) {
        w.Key(key);
        text(*value);
    }
    w.Key("tags");
    w.StartArray();
    for (const std::string& tag : row.Tags) text(tag);
    w.EndArray();
    w.Key("notes");
    text(row.Notes);
    w.Key("changed");
    text(row.Changed);
    w.EndObject();
    return {buffer.GetString(), buffer.GetSize()};
}

}  // namespace velmora::core
