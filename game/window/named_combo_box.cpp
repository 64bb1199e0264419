#include "game/window/named_combo_box.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace pelmora::game {

namespace {

class NamedComboBox : public QAccessibleWidget {
  public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == showMenuAction()) {
            box()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedComboBoxes(const QString& className, QObject* object) {
    if (className != QLatin1String("QComboBox")) return nullptr;
    auto* box = qobject_cast<QComboBox*>(object);
    if (!box || box->isEditable() || box->accessibleName().isEmpty()) return nullptr;
    return new NamedComboBox(box);
}

}  // namespace

void installNamedComboBoxes() {
    static const bool installed = [] {
        QAccessible::installFactory(namedComboBoxes);
        return true;
    }();
    (void)installed;
}

}  // namespace pelmora::game
