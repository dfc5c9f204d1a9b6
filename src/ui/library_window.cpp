#include "ui/library_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

#include "core/whole_file.h"
#include "report/qt_text.h"
#include "ui/file_dialogs.h"
#include "ui/platform.h"
#include "ui/window_widgets.h"

namespace velmora::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString TagsText(const std::vector<std::string>& tags) {
    QStringList list;
    for (const std::string& tag : tags) list << Q(tag);
    return list.join(QStringLiteral("; "));
}

// The text a column sorts and shows.
const std::string& SortKey(const core::LibraryRow& row, int column) {
    switch (column) {
        case LibraryTableModel::Date:
            return row.Date;
        case LibraryTableModel::Time:
            return row.Time;
        case LibraryTableModel::Place:
            return row.Place;
        case LibraryTableModel::Changed:
            return row.Changed;
        default:
            return row.Name;
    }
}

// At most this many refused rows are named in the summary; the rest counted.
constexpr int kRefusalsShown = 15;

// Settings keys of the window's state.
const QString kSizeKey = QStringLiteral("Library/Size");
const QString kSortKey = QStringLiteral("Library/Sort");
const QString kWidthsKey = QStringLiteral("Library/ColumnWidths");

}  // namespace

std::unique_ptr<QProgressDialog> ImportProgressDialog(QWidget* parent, const QString& text, const char* name) {
    auto dialog = std::make_unique<QProgressDialog>(text, QStringLiteral("Cancel"), 0, 1000, parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(300);
    return dialog;
}

std::function<bool(const core::ImportProgress&)> ProgressShownIn(QProgressDialog& dialog) {
    return [&dialog](const core::ImportProgress& at) {
        if (at.BytesTotal > 0)
            dialog.setValue(
                static_cast<int>(1000.0 * static_cast<double>(at.BytesRead) / static_cast<double>(at.BytesTotal)));
        QApplication::processEvents();
        return !dialog.wasCanceled();
    };
}

// ------------------------------------------------------------------ model

void LibraryTableModel::SetListing(std::shared_ptr<const core::LibraryListing> listing) {
    listing_ = std::move(listing);
    order_.clear();
    Refill();
}

void LibraryTableModel::SetFilter(const QString& text) {
    if (text == filter_) return;
    filter_ = text;
    Refill();
}

const core::LibraryRow& LibraryTableModel::RowAt(int row) const {
    return listing_->Rows().at(shown_.at(static_cast<std::size_t>(row)));
}

int LibraryTableModel::RowOf(std::int64_t id) const {
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (listing_->Rows()[shown_[i]].Id == id) return static_cast<int>(i);
    }
    return -1;
}

void LibraryTableModel::Refill() {
    beginResetModel();
    shown_.clear();
    if (listing_) {
        const std::vector<core::LibraryRow>& rows = listing_->Rows();
        if (order_.size() != rows.size()) {
            // The listing comes by name, date, time and id: the name's order
            // as it is, any other column's sorted once, stably, from it.
            order_.resize(rows.size());
            std::iota(order_.begin(), order_.end(), std::size_t{0});
            if (sortColumn_ == Tags) {
                std::vector<QString> tags(rows.size());
                for (std::size_t i = 0; i < rows.size(); ++i) tags[i] = TagsText(rows[i].Tags);
                std::stable_sort(order_.begin(), order_.end(),
                                 [&tags](std::size_t a, std::size_t b) { return tags[a] < tags[b]; });
            } else if (sortColumn_ != Name) {
                const int column = sortColumn_;
                std::stable_sort(order_.begin(), order_.end(), [&rows, column](std::size_t a, std::size_t b) {
                    return SortKey(rows[a], column) < SortKey(rows[b], column);
                });
            }
            if (sortOrder_ == Qt::DescendingOrder) std::reverse(order_.begin(), order_.end());
        }
        const std::vector<std::size_t> matching = listing_->Filter(filter_.toStdString());
        if (matching.size() == rows.size()) {
            shown_ = order_;
        } else {
            std::vector<char> match(rows.size(), 0);
            for (std::size_t i : matching) match[i] = 1;
            shown_.reserve(matching.size());
            for (std::size_t i : order_) {
                if (match[i]) shown_.push_back(i);
            }
        }
    }
    endResetModel();
}

int LibraryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int LibraryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LibraryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const core::LibraryRow& row = RowAt(index.row());
    if (role == Qt::ToolTipRole) return row.Notes.empty() ? QVariant() : QVariant(Q(row.Notes));
    if (index.column() == Tags) return TagsText(row.Tags);
    if (index.column() == Changed) {
        // "2024-03-01T12:34:56Z" shown as "2024-03-01 12:34".
        QString changed = Q(row.Changed).left(16);
        if (changed.size() > 10) changed[10] = QLatin1Char(' ');
        return changed;
    }
    return Q(SortKey(row, index.column()));
}

QVariant LibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[] = {"Name", "Date", "Time", "Place", "Tags", "Changed"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

void LibraryTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) return;
    if (column == sortColumn_ && order == sortOrder_ && !order_.empty()) return;
    sortColumn_ = column;
    sortOrder_ = order;
    order_.clear();
    Refill();
}

// ------------------------------------------------------------------ window

LibraryWindow::LibraryWindow(core::Library& library, MessageService& messages, FileDialogs& dialogs,
                             SettingsStore& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), library_(library), messages_(messages), dialogs_(dialogs), settings_(settings) {
    setObjectName(QStringLiteral("frmLibrary"));
    setWindowTitle(QStringLiteral("Library \u2013 %1").arg(WindowCaption()));

    auto* find = new QLabel(QStringLiteral("&Find:"));
    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("txtLibraryFilter"));
    filter_->setPlaceholderText(QStringLiteral("Name, place, tag or note"));
    filter_->setClearButtonEnabled(true);
    find->setBuddy(filter_);
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("lblLibraryCount"));
    auto* top = new QHBoxLayout;
    top->addWidget(find);
    top->addWidget(filter_, 1);
    top->addWidget(count_);

    model_ = new LibraryTableModel(this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("tblLibrary"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->sortByColumn(LibraryTableModel::Name, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAlternatingRowColors(true);
    table_->setAccessibleName(QStringLiteral("Births"));
    table_->installEventFilter(this);
    filter_->installEventFilter(this);

    tags_ = new QLineEdit;
    tags_->setObjectName(QStringLiteral("txtLibraryTags"));
    tags_->setPlaceholderText(QStringLiteral("Tags, separated by ;"));
    notes_ = new QPlainTextEdit;
    notes_->setObjectName(QStringLiteral("txtLibraryNotes"));
    notes_->setTabChangesFocus(true);
    notes_->setMaximumHeight(notes_->fontMetrics().height() * 4 + 12);
    saveDetails_ = new QPushButton(QStringLiteral("&Save Tags and Notes"));
    saveDetails_->setObjectName(QStringLiteral("cmdLibrarySaveDetails"));
    auto* details = new QFormLayout;
    auto* tagsCaption = new QLabel(QStringLiteral("&Tags:"));
    tagsCaption->setBuddy(tags_);
    auto* notesCaption = new QLabel(QStringLiteral("N&otes:"));
    notesCaption->setBuddy(notes_);
    details->addRow(tagsCaption, tags_);
    details->addRow(notesCaption, notes_);

    auto button = [this](const QString& text, const char* name, void (LibraryWindow::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("&Open in Form"), "cmdLibraryOpen", &LibraryWindow::OpenCurrent));
    buttons->addWidget(saveDetails_);
    buttons->addWidget(button(QStringLiteral("&Delete\u2026"), "cmdLibraryDelete", &LibraryWindow::DeleteSelected));
    buttons->addStretch(1);
    buttons->addWidget(button(QStringLiteral("&Import\u2026"), "cmdLibraryImport", &LibraryWindow::ImportFiles));
    buttons->addWidget(button(QStringLiteral("Export &Birth Files\u2026"), "cmdLibraryExportBirths",
                              &LibraryWindow::ExportBirthFiles));
    buttons->addWidget(button(QStringLiteral("Export &CSV\u2026"), "cmdLibraryExportCsv", &LibraryWindow::ExportCsv));
    connect(saveDetails_, &QPushButton::clicked, this, &LibraryWindow::SaveTagsAndNotes);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(details);
    layout->addLayout(buttons);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->SetFilter(text);
        ShowCount();
        if (model_->rowCount() > 0) table_->selectRow(0);
        ShowCurrent();
    });
    connect(table_, &QTableView::doubleClicked, this, [this] { OpenCurrent(); });
    connect(model_, &QAbstractItemModel::modelReset, this, &LibraryWindow::ShowCount);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { ShowCurrent(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        // A new model resets the selection model's connections' rows, not the signal.
        ShowCurrent();
    });

    resize(900, 560);
    RestoreState();
    setTabOrder(filter_, table_);
    setTabOrder(table_, tags_);
    setTabOrder(tags_, notes_);
    filter_->setFocus(Qt::OtherFocusReason);
}

LibraryWindow::~LibraryWindow() = default;

void LibraryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void LibraryWindow::hideEvent(QHideEvent* event) {
    SaveState();
    QWidget::hideEvent(event);
}

bool LibraryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == table_ && enter) {
            OpenCurrent();
            return true;
        }
        if (watched == table_ && key->key() == Qt::Key_Delete) {
            DeleteSelected();
            return true;
        }
        if (watched == filter_ && (key->key() == Qt::Key_Down || enter) && model_->rowCount() > 0) {
            // From the filter into the list; Enter there opens the birth at once.
            if (enter) {
                OpenCurrent();
            } else {
                table_->setFocus(Qt::TabFocusReason);
                if (!table_->currentIndex().isValid()) table_->selectRow(0);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryWindow::Refresh() {
    if (!loaded_ || library_.ChangedSince(stamp_)) Reload();
}

void LibraryWindow::Reload() {
    const std::vector<std::int64_t> chosen = SelectedIds();
    core::LibraryResult<std::shared_ptr<const core::LibraryListing>> listing = library_.Listing();
    if (!Succeeded(listing.Status, QStringLiteral("read the library"))) return;
    stamp_ = listing.Value->Stamp();
    loaded_ = true;
    model_->SetListing(std::move(listing.Value));
    // The births chosen before stay chosen where they are still listed.
    int current = chosen.empty() ? -1 : model_->RowOf(chosen.front());
    if (current < 0 && model_->rowCount() > 0) current = 0;
    if (current >= 0) table_->selectRow(current);
    ShowCurrent();
}

void LibraryWindow::ShowCount() {
    const int shown = model_->rowCount();
    count_->setText(shown == 1 ? QStringLiteral("1 birth") : QStringLiteral("%1 births").arg(shown));
}

void LibraryWindow::ShowCurrent() {
    const QModelIndex current = table_->currentIndex();
    const bool any = current.isValid();
    tags_->setEnabled(any);
    notes_->setEnabled(any);
    saveDetails_->setEnabled(any);
    if (!any) {
        tags_->clear();
        notes_->clear();
        return;
    }
    const core::LibraryRow& row = model_->RowAt(current.row());
    tags_->setText(TagsText(row.Tags));
    notes_->setPlainText(Q(row.Notes));
}

std::vector<std::int64_t> LibraryWindow::SelectedIds() const {
    std::vector<std::int64_t> ids;
    if (!table_ || !table_->selectionModel()) return ids;
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : rows) ids.push_back(model_->RowAt(index.row()).Id);
    if (ids.empty() && table_->currentIndex().isValid()) ids.push_back(model_->RowAt(table_->currentIndex().row()).Id);
    return ids;
}

bool LibraryWindow::Succeeded(const core::LibraryStatus& status, const QString& doing) {
    if (status.Ok()) return true;
    const QString why = status.Fault == core::LibraryFault::Busy
                            ? QStringLiteral("Another program is changing the library just now. Try again in a moment.")
                            : Q(status.Message);
    messages_.ShowNotice(this, QStringLiteral("Could not %1:\r\n%2").arg(doing, why), core::MessageIcon::Critical);
    return false;
}

void LibraryWindow::OpenCurrent() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    const std::int64_t id = model_->RowAt(current.row()).Id;
    core::LibraryResult<core::LibraryBirth> birth = library_.Get(id);
    if (birth.Status.Fault == core::LibraryFault::NotFound) {
        messages_.ShowNotice(this, QStringLiteral("That birth was deleted from the library by another program."),
                             core::MessageIcon::Information);
        Reload();
        return;
    }
    if (!Succeeded(birth.Status, QStringLiteral("open the birth"))) return;
    emit birthOpened(id, birth.Value.Birth);
}

void LibraryWindow::SaveTagsAndNotes() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    const std::int64_t id = model_->RowAt(current.row()).Id;
    std::vector<std::string> tags;
    for (const QString& tag : tags_->text().split(QLatin1Char(';'))) tags.push_back(tag.toStdString());
    if (!Succeeded(library_.SetTags(id, tags), QStringLiteral("save the tags"))) return;
    if (!Succeeded(library_.SetNotes(id, notes_->toPlainText().toStdString()), QStringLiteral("save the notes")))
        return;
    Reload();
}

void LibraryWindow::DeleteSelected() {
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty()) return;
    const QString what = ids.size() == 1 ? QStringLiteral("the birth of %1").arg(Q(library_.Get(ids[0]).Value.Row.Name))
                                         : QStringLiteral("these %1 births").arg(ids.size());
    if (!messages_.AskYesNo(this, QStringLiteral("Delete %1 from the library? This cannot be undone.").arg(what),
                            core::MessageIcon::Information))
        return;
    if (Succeeded(library_.Delete(ids), QStringLiteral("delete"))) Reload();
}

void LibraryWindow::ImportFiles() {
    const QStringList files =
        dialogs_.OpenFileNames(this, QStringLiteral("Import Births"), QDir::homePath(),
                               QStringLiteral("Birth files and CSV (*.vbirth *.csv);;All files (*)"));
    if (files.isEmpty()) return;
    std::vector<std::filesystem::path> paths;
    for (const QString& file : files) paths.emplace_back(QFile::encodeName(file).toStdString());

    const std::unique_ptr<QProgressDialog> progress =
        ImportProgressDialog(this, QStringLiteral("Importing births\u2026"), "dlgLibraryImport");
    core::LibraryImportOptions options;
    options.Progress = ProgressShownIn(*progress);
    const core::LibraryImportSummary summary = library_.Import(paths, options);
    progress->reset();
    if (!Succeeded(summary.Status, QStringLiteral("import"))) return;
    QString text =
        QStringLiteral("%1 added to the library.")
            .arg(summary.Added == 1 ? QStringLiteral("1 birth") : QStringLiteral("%1 births").arg(summary.Added));
    if (!summary.Refused.empty()) {
        text += QStringLiteral("\r\n%1 refused:").arg(summary.Refused.size());
        const int named = std::min(kRefusalsShown, static_cast<int>(summary.Refused.size()));
        for (int i = 0; i < named; ++i)
            text += QStringLiteral("\r\n") + Q(core::ImportRefusalText(summary.Refused[static_cast<std::size_t>(i)]));
        if (static_cast<int>(summary.Refused.size()) > named)
            text += QStringLiteral("\r\n\u2026 and %1 more.").arg(static_cast<int>(summary.Refused.size()) - named);
    }
    messages_.ShowNotice(this, text,
                         summary.Refused.empty() ? core::MessageIcon::Information : core::MessageIcon::Critical);
    Reload();
}

void LibraryWindow::ExportBirthFiles() {
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty()) return;
    const QString folder = dialogs_.FolderName(this, QStringLiteral("Export Birth Files"), QDir::homePath());
    if (folder.isEmpty()) return;
    std::vector<QString> names;
    const core::LibraryStatus read = library_.ForEach(ids, [&names](const core::LibraryBirth& birth) {
        names.push_back(Q(birth.Row.Name).isEmpty() ? QStringLiteral("birth") : Q(birth.Row.Name));
    });
    core::LibraryResult<std::vector<std::string>> texts = library_.ExportBirthFiles(ids);
    if (!Succeeded(read, QStringLiteral("export")) || !Succeeded(texts.Status, QStringLiteral("export"))) return;
    const QDir dir(folder);
    int written = 0;
    for (std::size_t i = 0; i < texts.Value.size() && i < names.size(); ++i) {
        // "ASHA RAO.vbirth", "ASHA RAO (2).vbirth", ...: never over a file there.
        QString name = names[i];
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        QString path = dir.filePath(name + QStringLiteral(".vbirth"));
        for (int n = 2; QFileInfo::exists(path); ++n)
            path = dir.filePath(QStringLiteral("%1 (%2).vbirth").arg(name).arg(n));
        const core::WholeFileWrite done = core::WriteWholeFile(QFile::encodeName(path).toStdString(), texts.Value[i]);
        if (!done) {
            messages_.ShowNotice(
                this, QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(done.Error.c_str())),
                core::MessageIcon::Critical);
            return;
        }
        ++written;
    }
    messages_.ShowNotice(
        this,
        QStringLiteral("%1 written to %2.")
            .arg(written == 1 ? QStringLiteral("1 birth file") : QStringLiteral("%1 birth files").arg(written), folder),
        core::MessageIcon::Information);
}

void LibraryWindow::ExportCsv() {
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty()) return;
    const QString path = WithSuffix(dialogs_.SaveFileName(this, QStringLiteral("Export CSV"), QDir::homePath(),
                                                          QStringLiteral("CSV files (*.csv)")),
                                    QStringLiteral(".csv"));
    if (path.isEmpty()) return;
    const core::LibraryResult<std::string> csv = library_.ExportCsv(ids);
    if (!Succeeded(csv.Status, QStringLiteral("export"))) return;
    const core::WholeFileWrite done = core::WriteWholeFile(QFile::encodeName(path).toStdString(), csv.Value);
    if (!done)
        messages_.ShowNotice(
            this, QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(done.Error.c_str())),
            core::MessageIcon::Critical);
}

void LibraryWindow::SaveState() {
    settings_.SetValue(kSizeKey, QStringLiteral("%1x%2").arg(width()).arg(height()));
    settings_.SetValue(kSortKey, QStringLiteral("%1 %2")
                                     .arg(model_->sortColumn())
                                     .arg(model_->sortOrder() == Qt::AscendingOrder ? QStringLiteral("ascending")
                                                                                    : QStringLiteral("descending")));
    QStringList widths;
    for (int column = 0; column < LibraryTableModel::ColumnCount; ++column)
        widths << QString::number(table_->columnWidth(column));
    settings_.SetValue(kWidthsKey, widths.join(QLatin1Char(',')));
}

void LibraryWindow::RestoreState() {
    if (const auto size = settings_.Value(kSizeKey)) {
        const QStringList parts = size->split(QLatin1Char('x'));
        if (parts.size() == 2 && parts[0].toInt() > 100 && parts[1].toInt() > 100)
            resize(parts[0].toInt(), parts[1].toInt());
    }
    if (const auto sort = settings_.Value(kSortKey)) {
        const QStringList parts = sort->split(QLatin1Char(' '));
        bool ok = false;
        const int column = parts.value(0).toInt(&ok);
        if (ok && column >= 0 && column < LibraryTableModel::ColumnCount)
            table_->sortByColumn(
                column, parts.value(1) == QStringLiteral("descending") ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    const QStringList widths = settings_.Value(kWidthsKey).value_or(QString()).split(QLatin1Char(','));
    if (widths.size() == LibraryTableModel::ColumnCount) {
        for (int column = 0; column < LibraryTableModel::ColumnCount; ++column) {
            const int width = widths[column].toInt();
            if (width > 8) table_->setColumnWidth(column, width);
        }
    } else {
        const int widthsByDefault[] = {190, 90, 55, 260, 150, 120};
        for (int column = 0; column < LibraryTableModel::ColumnCount; ++column)
            table_->setColumnWidth(column, widthsByDefault[column]);
    }
}

}  // namespace velmora::ui
