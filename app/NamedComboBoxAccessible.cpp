#include "app/NamedComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace app {

namespace {

QAccessibleInterface* namedComboBoxFactory(const QString& className, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    if (box == nullptr || className != QLatin1String(object->metaObject()->className()) ||
        box->isEditable()) {
        return nullptr;
    }
    return new NamedComboBoxAccessible(box);
}

} // namespace

NamedComboBoxAccessible::NamedComboBoxAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

void NamedComboBoxAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(namedComboBoxFactory);
        return true;
    }();
    static_cast<void>(installed);
}

QComboBox* NamedComboBoxAccessible::box() const {
    return static_cast<QComboBox*>(widget());
}

int NamedComboBoxAccessible::childCount() const {
    return box()->view() != nullptr ? 1 : 0;
}

QAccessibleInterface* NamedComboBoxAccessible::child(int index) const {
    if (index != 0 || box()->view() == nullptr) {
        return nullptr;
    }
    return QAccessible::queryAccessibleInterface(box()->view());
}

int NamedComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child != nullptr && box()->view() != nullptr && child->object() == box()->view() ? 0
                                                                                            : -1;
}

QString NamedComboBoxAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return box()->accessibleName().isEmpty() ? box()->currentText() : box()->accessibleName();
    case QAccessible::Value: return box()->currentText();
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State NamedComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = box()->view() != nullptr && box()->view()->isVisible();
    return state;
}

QStringList NamedComboBoxAccessible::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void NamedComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName == showMenuAction() || actionName == pressAction()) {
        if (box()->view() != nullptr && box()->view()->isVisible()) {
            box()->hidePopup();
        } else {
            box()->showPopup();
        }
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

} // namespace app
