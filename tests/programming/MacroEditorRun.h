#pragma once

#include "mainwindow/MainWindowImpl.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <functional>

// Helpers of the window tests of the macro editor.
namespace MacroEditorRun {

// Opens the editor of w; while it runs, action is carried out; then it is
// closed. True when the dialog was shown.
inline bool run(MainWindowImpl *w, const std::function<void()> &action = {})
{
    bool shown = false;
    QTimer::singleShot(0, w, [&] {
        shown = w->macroDialog.isVisible();
        if (action)
            action();
        w->macroDialog.reject();
    });
    w->macroDialogOpen();
    // With no dialog shown, let the closing timer run out here.
    QCoreApplication::processEvents();
    return shown;
}

// The tree as its visible texts: one line per row, the four cells joined by
// separator, steps indented by two blanks.
inline QStringList treeText(const QAbstractItemModel *model, QChar separator = QLatin1Char('\t'))
{
    const auto row = [&](const QModelIndex &index) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << index.siblingAtColumn(c).data().toString();
        return cells.join(separator);
    };
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex macro = model->index(r, 0);
        out << row(macro);
        for (int j = 0; j < model->rowCount(macro); ++j)
            out << QStringLiteral("  ") + row(model->index(j, 0, macro));
    }
    return out;
}

} // namespace MacroEditorRun
