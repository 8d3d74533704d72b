#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <vector>

#include "acquire/table_row.h"
#include "files/table_snapshot.h"

namespace orvanic::gui {

// The result table: column 0 is the row caption, the others follow the
// device's fields. Read-only; rows are kept here, so tens of thousands stay fast.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultTableModel(QObject* parent = nullptr);

    struct Row {
        QString caption;
        QStringList cells;  // columns 1 ...
        RowIcon icon = RowIcon::Plain;
    };

    void setColumns(const QStringList& captions);
    void setColumnCaption(int column, const QString& caption);
    QStringList columnCaptions() const { return m_captions; }
    void clearRows();
    void clearAll();  // rows and columns
    void appendRow(Row row);
    // Many rows in one insertion, so views relayout once.
    void appendRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_captions;
    std::vector<Row> m_rows;
    QIcon m_plain, m_ok, m_stopped;
};

// The rows of a table read from the files, in the model's form; a row
// without an icon of its own is plain.
std::vector<ResultTableModel::Row> modelRows(const TableSnapshot& table, const std::vector<RowIcon>& icons);

}  // namespace orvanic::gui
