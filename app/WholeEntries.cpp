#include "app/WholeEntries.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>

namespace app {

void showEntriesWhole(QComboBox* box) {
    QAbstractItemView* list = box->view();
    for (int i = 0; i < box->count(); ++i) {
        box->setItemData(i, box->itemText(i), Qt::ToolTipRole);
    }
    // The widest row, the list's frame on both sides and room for a scroll bar.
    const int frame = 2 * list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, list);
    list->setMinimumWidth(list->sizeHintForColumn(0) + frame +
                          list->verticalScrollBar()->sizeHint().width());
    QObject::connect(box, &QComboBox::currentTextChanged, box,
                     [box](const QString& text) { box->setToolTip(text); });
    box->setToolTip(box->currentText());
}

} // namespace app
