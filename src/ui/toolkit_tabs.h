#pragma once

#include <QDateTime>
#include <QWidget>

#include <optional>

#include "core/pipeline.h"
#include "core/time_scan.h"
#include "report/chart_pictures.h"
#include "ui/chart_widget.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QTableWidget;
class QTreeWidget;

namespace velmora::ui {

class TimeBand;
class VargaChoice;

// The universal clock minute of a moment (local, UTC or any zone), kept inside the
// range the engines cover.
ClockReading UniversalMinuteOf(const QDateTime& moment);

// A table of the added tabs: read-only, no selection, no row numbers, each
// column as wide as its contents and the last one stretched.
QTableWidget* ReadOnlyTable(const QString& name, const QStringList& headers, QWidget* parent);

// "Charts": the birth chart beside the navamsa, the birth-time band with its
// sentence, and the table of the twelve padas.
class ChartsTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartsTab(QWidget* parent = nullptr);
    // Modest, so the added tab does not make the window larger than the
    // first three want; the charts grow with the window.
    QSize sizeHint() const override;

    void ShowAnalysis(const core::BirthAnalysis& analysis);
    void SetChartStyle(ChartStyle chartStyle);

    ChartWidget* birthChart() const { return birth_; }
    ChartWidget* navamsaChart() const { return navamsa_; }
    TimeBand* timeBand() const { return band_; }
    QLabel* sensitivityLabel() const { return sentence_; }
    QTableWidget* padaTable() const { return padas_; }
    // The varga the second chart draws (the navamsa unless chosen).
    VargaChoice* vargaChoice() const { return vargaChoice_; }

private:
    VargaChoice* vargaChoice_ = nullptr;
    ChartWidget* birth_ = nullptr;
    ChartWidget* navamsa_ = nullptr;
    TimeBand* band_ = nullptr;
    QLabel* sentence_ = nullptr;
    QTableWidget* padas_ = nullptr;
};

// "Dasha": the Moon's nakshatra and the balance at birth, the nine maha
// dashas each with its antar dashas, the period running now highlighted, and
// when the maha dashas of the bodies with readings run.
class DashaTab : public QWidget {
    Q_OBJECT
public:
    explicit DashaTab(QWidget* parent = nullptr);
    // Modest, so the added tab does not make the window larger than the
    // first three want; the charts grow with the window.
    QSize sizeHint() const override;

    void ShowAnalysis(const core::BirthAnalysis& analysis, const QDateTime& now);

    QTreeWidget* tree() const { return tree_; }
    // Vimshottari (to the pratyantars) or Yogini.
    QComboBox* systemChoice() const { return system_; }

private:
    void ShowPeriods();

    QComboBox* system_ = nullptr;
    QLabel* year_ = nullptr;
    std::optional<core::BirthAnalysis> analysis_;
    QDateTime now_;
    QLabel* balance_ = nullptr;
    QLabel* today_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QLabel* readings_ = nullptr;
};

// "Today": the sky of a day over the birth chart, the table of the nine
// bodies with their houses from the ascendant and from the Arudha Lagna, and
// the dashas running then. The day is today unless the user picks another;
// the time of day is the clock's.
class TodayTab : public QWidget {
    Q_OBJECT
public:
    explicit TodayTab(QWidget* parent = nullptr);
    // Modest, so the added tab does not make the window larger than the
    // first three want; the charts grow with the window.
    QSize sizeHint() const override;

    void ShowAnalysis(const core::BirthAnalysis& analysis, const QDateTime& now);
    void SetChartStyle(ChartStyle chartStyle);

    const core::TransitSky& sky() const { return sky_; }
    ChartWidget* chart() const { return chart_; }
    QDateTimeEdit* dateEdit() const { return date_; }

signals:
    // The "Now" button: the window brings the moment up to its clock.
    void nowRequested();

private:
    void ShowDay();
    void ShowSky(const core::TransitSky& sky);

    std::optional<core::BirthAnalysis> analysis_;
    QDateTime now_;
    core::TransitSky sky_;
    QDateTimeEdit* date_ = nullptr;
    QLabel* moment_ = nullptr;
    ChartWidget* chart_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* dasha_ = nullptr;
};

}  // namespace velmora::ui
