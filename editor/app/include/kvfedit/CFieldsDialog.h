#pragma once
// CFieldsDialog: a dialog of whole-number fields, each with its label and
// limits, and OK and Cancel: "Import", "Goto", "Resize", "Enlarge Canvas"
// and "Time Stretch/Shrink". The fields never hold a value outside their
// limits.

#include <QDialog>
#include <QString>

#include <vector>

class QSpinBox;

struct DialogField {
    QString label;
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

class CFieldsDialog : public QDialog {
    Q_OBJECT

public:
    CFieldsDialog(QWidget* parent, const QString& title, const std::vector<DialogField>& fields);

    int Value(int field) const;
    QSpinBox* Box(int field) const { return m_boxes[size_t(field)]; }

private:
    std::vector<QSpinBox*> m_boxes;
};
