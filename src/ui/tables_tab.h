#pragma once

#include <QWidget>

#include "core/pipeline.h"

class QLabel;
class QTableWidget;

namespace velmora::ui {

// "Tables": the degree table (each body's longitude to the arc-second, sign,
// nakshatra and pada, speed, retrograde mark, navamsa sign), the panchanga
// of the birth with sunrise and sunset, and every body's sign in the sixteen
// vargas.
class TablesTab : public QWidget {
    Q_OBJECT
public:
    explicit TablesTab(QWidget* parent = nullptr);
    // Modest, so the added tab does not make the window larger than the
    // first three want.
    QSize sizeHint() const override;

    void ShowAnalysis(const core::BirthAnalysis& analysis);

    QTableWidget* degreeTable() const { return degrees_; }
    QTableWidget* vargaTable() const { return vargas_; }
    QTableWidget* panchangaTable() const { return panchanga_; }

private:
    QTableWidget* degrees_ = nullptr;
    QTableWidget* vargas_ = nullptr;
    QTableWidget* panchanga_ = nullptr;
    QLabel* panchangaNote_ = nullptr;
};

}  // namespace velmora::ui
