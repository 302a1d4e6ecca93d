#pragma once

#include <QAbstractItemModel>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>
#include <utility>

// A list over a catalogue query that shows all of its rows or none of them.
// Qt's SQL models fetch rows in batches, the first when the query is set and
// the rest as the list is scrolled, and take a step that fails (a damaged
// page, a lock held too long) for the end of the rows: a shorter list would
// pass for the whole one. Here a failed step empties the list (its columns
// and headers stay) and lastError() tells why, also after select() or
// setQuery() returned.
template <typename Base>
class WholeListModel : public Base
{
public:
    template <typename... Args>
    explicit WholeListModel(Args &&...args) : Base(std::forward<Args>(args)...)
    {
        // select() and setQuery() reset the model, nested; a failure met
        // inside a reset is shown by that reset's end.
        QObject::connect(this, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
            if (m_resetting++ == 0)
                m_failed = false;
        });
        QObject::connect(this, &QAbstractItemModel::modelReset, this, [this] { --m_resetting; });
    }

    // Whether the last read of the list failed (lastError() says why).
    bool readFailed() const { return m_failed || this->lastError().isValid(); }

    // Called with the reason when rows fetched after select() or setQuery()
    // (as the list is scrolled) fail; the list is empty by then.
    void setLateFailureHandler(std::function<void(const QString &)> handler) { m_lateFailure = std::move(handler); }

    // Shows no rows, as after a failed read, with error as the reason.
    void showNone(const QString &error)
    {
        this->beginResetModel();
        m_failed = true;
        this->setLastError(QSqlError(QString(), error, QSqlError::StatementError));
        this->endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return m_failed ? 0 : Base::rowCount(parent);
    }

    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override
    {
        return !m_failed && Base::canFetchMore(parent);
    }

    void fetchMore(const QModelIndex &parent = QModelIndex()) override
    {
        Base::fetchMore(parent);
        if (m_failed)
            return;
        // A statement that never ran has no rows; setQuery() or select()
        // has already reported it.
        const QSqlQuery query = this->query();
        const QSqlError error = query.lastError();
        if (!query.isActive() || !error.isValid())
            return;
        if (m_resetting > 0) {
            // The select or setQuery under way: its reset shows the list
            // empty, and select() reports the failure.
            m_failed = true;
            this->setLastError(error);
            return;
        }
        showNone(error.text());
        if (m_lateFailure)
            m_lateFailure(error.text());
    }

private:
    int m_resetting = 0;
    bool m_failed = false;
    std::function<void(const QString &)> m_lateFailure;
};
