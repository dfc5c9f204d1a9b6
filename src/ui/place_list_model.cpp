#include "ui/place_list_model.h"

namespace velmora::ui {

void PlaceListModel::SetPlaces(std::vector<core::Place> places) {
    beginResetModel();
    places_ = std::move(places);
    endResetModel();
}

int PlaceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(places_.size());
}

QVariant PlaceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return EntryText(PlaceAt(index.row()));
}

QString PlaceListModel::EntryText(const core::Place& place) {
    QStringList parts{QString::fromStdString(place.Name)};
    if (!place.State.empty()) parts << QString::fromStdString(place.State);
    if (!place.Country.empty()) parts << QString::fromStdString(place.Country);
    return parts.join(QStringLiteral(", "));
}

}  // namespace velmora::ui
