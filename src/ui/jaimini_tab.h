#pragma once

#include <QDateTime>
#include <QWidget>

#include <optional>

#include "core/pipeline.h"
#include "ui/chart_widget.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QScrollArea;
class QTableWidget;
class QTreeWidget;

namespace velmora::ui {

class WhyButton;

// "Jaimini": the chara karakas with the scheme in use, the karakamsa, argala
// from the ascendant, the Arudha Lagna and the AK, the graha arudhas, the
// chara dasha (periods opening to their sub-periods, the one running now
// highlighted) and the birth chart, on which choosing a sign, by a click or
// in the sign list, marks the signs it aspects. A "Why?" beside each karaka,
// the karakamsa and each period shows its derivation.
class JaiminiTab : public QWidget {
    Q_OBJECT
public:
    explicit JaiminiTab(QWidget* parent = nullptr);
    // Modest, as the other added tabs: the window keeps the size the first
    // three want, and the page scrolls where it needs more.
    QSize sizeHint() const override;

    void ShowAnalysis(const core::BirthAnalysis& analysis, const QDateTime& now);
    void SetChartStyle(ChartStyle chartStyle);

    // The sign whose aspects the chart shows, 1..12; 0 for none.
    void ChooseSign(int sign);
    int chosenSign() const { return chosen_; }
    // The sign under a point of the chart, 1..12; 0 outside every box.
    int SignAt(const QPointF& point) const;

    ChartWidget* chart() const { return chart_; }
    QComboBox* signChoice() const { return signChoice_; }
    QLabel* aspectsLabel() const { return aspects_; }
    QLabel* schemeLabel() const { return scheme_; }
    QLabel* karakamsaLabel() const { return karakamsa_; }
    QTableWidget* karakaTable() const { return karakas_; }
    QTableWidget* argalaTable() const { return argala_; }
    QTableWidget* arudhaTable() const { return arudhas_; }
    QTreeWidget* charaTree() const { return chara_; }
    WhyButton* karakamsaWhy() const { return karakamsaWhy_; }
    WhyButton* charaOrderWhy() const { return orderWhy_; }
    // Three columns (chart, karakas, chara dasha) where the page is wide
    // enough for them side by side; otherwise the chart beside the graha
    // arudhas, with the karakas, argala and the chara dasha beneath at full
    // width, so that the page scrolls only downwards.
    bool wideArrangement() const { return wide_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Arrange(bool wide);
    // The width the three columns take side by side.
    int WideWidth() const;

    void ShowChart();
    void ShowKarakas(const core::BirthAnalysis& a);
    void ShowArgala(const analysis::JaiminiTools& tools);
    void ShowArudhas(const analysis::JaiminiTools& tools);
    void ShowCharaDasha(const core::BirthAnalysis& a, const QDateTime& now);

    std::optional<core::BirthAnalysis> analysis_;
    int chosen_ = 0;
    ChartWidget* chart_ = nullptr;
    QComboBox* signChoice_ = nullptr;
    QLabel* aspects_ = nullptr;
    QLabel* scheme_ = nullptr;
    QLabel* karakamsa_ = nullptr;
    WhyButton* karakamsaWhy_ = nullptr;
    QTableWidget* karakas_ = nullptr;
    QTableWidget* argala_ = nullptr;
    QTableWidget* arudhas_ = nullptr;
    QLabel* charaOrder_ = nullptr;
    WhyButton* orderWhy_ = nullptr;
    QLabel* charaToday_ = nullptr;
    QTreeWidget* chara_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QGroupBox* chartBox_ = nullptr;
    QGroupBox* karakaBox_ = nullptr;
    QGroupBox* charaBox_ = nullptr;
    QGroupBox* argalaBox_ = nullptr;
    QGroupBox* arudhaBox_ = nullptr;
    bool wide_ = true;
};

}  // namespace velmora::ui
