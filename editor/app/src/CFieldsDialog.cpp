#include "kvfedit/CFieldsDialog.h"

#include "DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CFieldsDialog::CFieldsDialog(QWidget* parent, const QString& title, const std::vector<DialogField>& fields)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* form = new QFormLayout;
    for (const DialogField& field : fields) {
        auto* box = new QSpinBox(this);
        box->setRange(field.minimum, field.maximum);
        box->setValue(field.value);
        box->setAccelerated(true);
        form->addRow(field.label, box);
        m_boxes.push_back(box);
    }
    QDialogButtonBox* buttons = DialogButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (!m_boxes.empty()) {
        m_boxes.front()->setFocus();
        m_boxes.front()->selectAll();
    }
}

int CFieldsDialog::Value(int field) const
{
    return m_boxes[size_t(field)]->value();
}
