#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace app {

// What assistive technology sees of a drop-down list that cannot be typed into: Qt announces
// such a list on Linux by its current entry and leaves its purpose to a label beside it, which
// this window does not have. This interface announces it by its accessible name (the current
// entry while it has none), with the current entry as its value and its open list as its one
// child.
class NamedComboBoxAccessible : public QAccessibleWidget {
public:
    explicit NamedComboBoxAccessible(QComboBox* box);

    // Installs the factory that gives every such drop-down list this interface, once; before
    // the lists are made, since Qt keeps the interface it first made for an object.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* box() const;
};

} // namespace app
