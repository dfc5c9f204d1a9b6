#pragma once

#include <QAbstractListModel>

#include <vector>

#include "core/atlas.h"
#include "core/place_import.h"

namespace velmora::ui {

// The city box's completions: atlas places shown as "City, State, Country"
// (the state left out when the atlas has none), in the atlas's order.
class PlaceListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void SetPlaces(std::vector<core::Place> places);
    // Places of the atlas and the library together; an alternate name
    // matched shows in brackets: "Mumbai (Bombay), Maharashtra, India".
    void SetMatches(std::vector<core::PlaceMatch> matches);
    const core::Place& PlaceAt(int row) const { return places_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static QString EntryText(const core::Place& place);

private:
    std::vector<core::Place> places_;
    std::vector<std::string> alternateNames_;  // beside places_, empty or as long
};

}  // namespace velmora::ui
