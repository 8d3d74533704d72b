#include "app/gui/result_table_model.h"

namespace orvanic::gui {

ResultTableModel::ResultTableModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_plain(":/icons/row_plain.svg")
    , m_ok(":/icons/row_ok.svg")
    , m_stopped(":/icons/row_stopped.svg")
{
}

void ResultTableModel::setColumns(const QStringList& captions)
{
    beginResetModel();
    m_captions = captions;
    endResetModel();
}

void ResultTableModel::setColumnCaption(int column, const QString& caption)
{
    if (column < 0 || column >= m_captions.size())
        return;
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ResultTableModel::clearRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ResultTableModel::clearAll()
{
    beginResetModel();
    m_rows.clear();
    m_captions.clear();
    endResetModel();
}

void ResultTableModel::appendRow(Row row)
{
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void ResultTableModel::appendRows(std::vector<Row> rows)
{
    if (rows.empty())
        return;
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    if (m_rows.empty())
        m_rows = std::move(rows);
    else
        m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

std::vector<ResultTableModel::Row> modelRows(const TableSnapshot& table, const std::vector<RowIcon>& icons)
{
    auto text = [](const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); };
    std::vector<ResultTableModel::Row> rows;
    rows.reserve(table.rows.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::vector<std::string>& texts = table.rows[r];
        ResultTableModel::Row row;
        if (!texts.empty())
            row.caption = text(texts.front());
        row.cells.reserve(static_cast<qsizetype>(texts.size()));
        for (std::size_t c = 1; c < texts.size(); ++c)
            row.cells.append(text(texts[c]));
        row.icon = r < icons.size() ? icons[r] : RowIcon::Plain;
        rows.push_back(std::move(row));
    }
    return rows;
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return row.caption;
        const int cell = index.column() - 1;
        return cell < row.cells.size() ? row.cells[cell] : QString();
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        switch (row.icon) {
        case RowIcon::Ok: return m_ok;
        case RowIcon::Stopped: return m_stopped;
        case RowIcon::Plain: return m_plain;
        }
    }
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_captions.size())
        return m_captions[section];
    return {};
}

}  // namespace orvanic::gui
