#include "ui/about_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window_widgets.h"

namespace velmora::ui {

AboutWindow::AboutWindow(Links& links, QWidget* owner) : QDialog(owner), links_(links) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(WindowCaption());
    setWindowIcon(ProgramIcon());
    setModal(true);
    setFont(ProgramFont());

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(ProgramIcon().pixmap(48, 48));
    picIcon->setFixedSize(52, 52);

    auto* title = new QLabel(WindowCaption(), this);
    title->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = ProgramFont();
    titleFont.setPointSizeF(12);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* description = new QLabel(
        QStringLiteral("Velmora Arudha Lagna calculates your Arudha Lagna based on Vedic Astrology. Arudha literally "
                       "means \"mount\". This signifies the image of a sign falling on another sign. Arudha of the "
                       "first house is known as Arudha Lagna. Arudha Lagna shows how one manifests oneself in this "
                       "world of Maya (Illusion)."),
        this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    description->setTextFormat(Qt::PlainText);

    auto* homePage = new ClickableLabel(QStringLiteral("Visit us online at %1 for more astrology software")
                                            .arg(QString::fromLatin1(kForumAddress).section('/', 0, 0)),
                                        this);
    homePage->setObjectName(QStringLiteral("lblHomePage"));
    homePage->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    connect(homePage, &ClickableLabel::clicked, this, [this] { links_.OpenHomePage(); });

    auto* business = new QLabel(
        QStringLiteral("Home Business Opportunity. Start your own Internet business and make money online. Get this "
                       "software fully branded for your website. "),
        this);
    business->setObjectName(QStringLiteral("Label3"));
    business->setWordWrap(true);
    business->setTextFormat(Qt::PlainText);

    auto* coBrand = new ClickableLabel(QStringLiteral("Click here for more details."), this);
    coBrand->setObjectName(QStringLiteral("lblCoBrand"));
    coBrand->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    connect(coBrand, &ClickableLabel::clicked, this, [this] { links_.OpenFullBrandPage(); });

    // Licence and the sources of the data, for the record.
    auto* credits = new QLabel(
        QStringLiteral("Free software under the GNU Affero General Public License, version 3 or later.\n"
                       "Positions in precise mode: the Swiss Ephemeris (AGPL).\n"
                       "Atlas of places: GeoNames (CC BY 4.0, https://www.geonames.org/), read with libgeonames "
                       "(GPL-3)."),
        this);
    credits->setObjectName(QStringLiteral("lblCredits"));
    credits->setWordWrap(true);
    credits->setTextFormat(Qt::PlainText);
    credits->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont creditsFont = ProgramFont();
    creditsFont.setPointSizeF(creditsFont.pointSizeF() * 0.9);
    credits->setFont(creditsFont);

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* header = new QHBoxLayout;
    header->addWidget(picIcon);
    header->addWidget(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(description);
    layout->addWidget(homePage);
    layout->addSpacing(8);
    layout->addWidget(business);
    layout->addWidget(coBrand);
    layout->addSpacing(8);
    layout->addWidget(credits);
    layout->addWidget(rule);
    layout->addLayout(buttons);
    // Word-wrapped texts at a fixed width give the window its height.
    for (QLabel* text : {description, business, credits}) text->setFixedWidth(420);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAbout(Links& links, QWidget* owner) {
    AboutWindow about(links, owner);
    about.exec();
}

}  // namespace velmora::ui
