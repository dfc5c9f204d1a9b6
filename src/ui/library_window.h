#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/library.h"

class QLabel;
class QProgressDialog;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace velmora::ui {

class FileDialogs;
class MessageService;
class SettingsStore;

// The library's births as the window lists them: the rows the filter lets
// through (core's LibraryListing::Filter), in the order of the chosen
// column. The order of every row for a column is worked out once, when the
// column is chosen, so a keystroke costs one filter pass and one pass over
// that order.
class LibraryTableModel final : public QAbstractTableModel {
public:
    enum Column { Name, Date, Time, Place, Tags, Changed, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetListing(std::shared_ptr<const core::LibraryListing> listing);
    void SetFilter(const QString& text);
    const QString& filter() const { return filter_; }
    const core::LibraryRow& RowAt(int row) const;
    // The row showing that birth, or -1.
    int RowOf(std::int64_t id) const;
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void Refill();

    std::shared_ptr<const core::LibraryListing> listing_;
    QString filter_;
    int sortColumn_ = Name;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::vector<std::size_t> order_;  // every row of the listing, in the column's order
    std::vector<std::size_t> shown_;  // the rows shown, in that order
};

// A window-modal progress bar for an import (births or places), named
// `name`, and the Progress callback that moves it and tells a cancel.
std::unique_ptr<QProgressDialog> ImportProgressDialog(QWidget* parent, const QString& text, const char* name);
std::function<bool(const core::ImportProgress&)> ProgressShownIn(QProgressDialog& dialog);

// File → Library…: the births of the library, sortable by each column and
// filtered as one types; Enter or a double click opens the current birth
// into the input window (birthOpened). Tags and notes are edited below the
// list; births are deleted after a question, imported from birth files and
// CSV with a progress bar, and exported as birth files or CSV. The size, the
// sort and the column widths are kept in the settings store. When shown
// again, a change another program made to the library is listed.
class LibraryWindow final : public QWidget {
    Q_OBJECT
public:
    // The library, services and store must outlive the window.
    LibraryWindow(core::Library& library, MessageService& messages, FileDialogs& dialogs, SettingsStore& settings,
                  QWidget* parent = nullptr);
    ~LibraryWindow() override;

    // Reads the listing again when the library changed since it was read.
    void Refresh();

    QTableView* table() const { return table_; }
    QLineEdit* filterBox() const { return filter_; }
    LibraryTableModel* model() const { return model_; }
    // The chosen births, in the list's order; the current one when none is chosen.
    std::vector<std::int64_t> SelectedIds() const;

public slots:
    void OpenCurrent();
    void DeleteSelected();
    void SaveTagsAndNotes();
    void ImportFiles();
    void ExportBirthFiles();
    void ExportCsv();

signals:
    void birthOpened(std::int64_t id, const core::BirthFileContents& birth);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Reload();
    void ShowCurrent();
    void ShowCount();
    void SaveState();
    void RestoreState();
    // A failed library call said to the user; true when it succeeded.
    bool Succeeded(const core::LibraryStatus& status, const QString& doing);

    core::Library& library_;
    MessageService& messages_;
    FileDialogs& dialogs_;
    SettingsStore& settings_;
    core::LibraryStamp stamp_;
    bool loaded_ = false;

    LibraryTableModel* model_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QLineEdit* tags_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QPushButton* saveDetails_ = nullptr;
};

}  // namespace velmora::ui
