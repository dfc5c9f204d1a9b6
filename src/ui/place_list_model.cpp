#include "ui/place_list_model.h"

namespace velmora::ui {

void PlaceListModel::SetPlaces(std::vector<core::Place> places) {
    beginResetModel();
    places_ = std::move(places);
    alternateNames_.clear();
    endResetModel();
}

void PlaceListModel::SetMatches(std::vector<core::PlaceMatch> matches) {
    beginResetModel();
    places_.clear();
    alternateNames_.clear();
    for (core::PlaceMatch& match : matches) {
        places_.push_back(std::move(match.Place));
        alternateNames_.push_back(std::move(match.AlternateName));
    }
    endResetModel();
}

int PlaceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(places_.size());
}

QVariant PlaceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    if (row < alternateNames_.size() && !alternateNames_[row].empty()) {
        core::Place shown = places_[row];
        shown.Name = core::PlaceMatchLabel({places_[row], alternateNames_[row], 0});
        return EntryText(shown);
    }
    return EntryText(PlaceAt(index.row()));
}

QString PlaceListModel::EntryText(const core::Place& place) {
    QStringList parts{QString::fromStdString(place.Name)};
    if (!place.State.empty()) parts << QString::fromStdString(place.State);
    if (!place.Country.empty()) parts << QString::fromStdString(place.Country);
    return parts.join(QStringLiteral(", "));
}

}  // namespace velmora::ui
