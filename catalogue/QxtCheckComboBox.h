#pragma once

#include <QComboBox>
#include <QStringList>

// A combo box whose items carry check boxes. Its current text is the texts of
// the checked items joined by the separator (default ","); in an editable box
// the user may also type a text of their own. Clicking an item in the popup
// toggles its check mark and keeps the popup open.
class QxtCheckComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString separator READ separator WRITE setSeparator)
    Q_PROPERTY(QStringList checkedItems READ checkedItems WRITE setCheckedItems NOTIFY checkedItemsChanged)
public:
    explicit QxtCheckComboBox(QWidget *parent = nullptr);

    // Adds items by their whole texts. A text longer than a screen can show
    // is shown (and measured for the box's size) as its start and "…";
    // checkedItems() gives it whole.
    void addWholeItems(const QStringList &texts);

    QStringList checkedItems() const;
    void setCheckedItems(const QStringList &items);

    Qt::CheckState itemCheckState(int index) const;
    void setItemCheckState(int index, Qt::CheckState state);

    QString separator() const { return m_separator; }
    void setSeparator(const QString &separator);

    // The checked texts, whole, joined by the separator.
    QString checkedText() const;
    // What the box stands for as a filter: the checked texts whole while the
    // edit field shows them, else what was typed there. The field shows a
    // long join by its start (a line edit keeps at most 32,767 characters
    // and lays out all it holds), so its own text is not the filter.
    QString filterText() const;

signals:
    void checkedItemsChanged(const QStringList &items);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void makeCheckable(int first, int last);
    void toggle(int index);
    void showChecked();
    QString wholeText(int index) const;

    QString m_separator = QStringLiteral(",");
    bool m_updating = false;
};
