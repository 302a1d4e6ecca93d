#pragma once

#include <QResizeEvent>
#include <QTableView>

// The key list (KeysTV). Lays out its columns on every resize and when a
// model is set, measuring its codes and names only when they change; writes an in-place edit of a key's name, or of its code when
// "Debug/allowChangeKeyID" allows it, and then shows the key as stored.
class RCKeysTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCKeysTableView(QWidget *parent = nullptr);
    ~RCKeysTableView() override;

    void setModel(QAbstractItemModel *model) override;
    void applyColumnLayout();

protected slots:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private slots:
    // The key list's edit triggers stay as the form sets them.
    void refreshEditing();
    void resizeEvent(QResizeEvent *e) override;

protected:
    void changeEvent(QEvent *e) override;

private:
    // Measures the longest code and name in the smallest code font, then
    // lays the columns out.
    void measureTexts();
    // Pixels the longest text of a column needs in a cell, drawn in font.
    int longestWidth(int column, const QFont &font) const;

    bool m_writingBack = false;
    int m_codeNeeds = 0;
    int m_nameNeeds = 0;
};
