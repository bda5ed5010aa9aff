#pragma once
// CProgressDialog: the modeless progress dialog of every long operation: a
// caption, a bar, a percentage and a message line. While it is shown the
// rest of the application takes no input, and each new position lets the
// pending window events run, so the windows keep painting during the loop.

#include "editor/IEditorProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

class CProgressDialog : public QDialog, public IEditorProgress {
    Q_OBJECT

public:
    explicit CProgressDialog(QWidget* parent = nullptr);

    void Begin(const std::string& caption) override;
    void SetRange(int lower, int upper) override;
    void SetPosition(int position) override;
    void SetMessage(const std::string& text) override;
    void End() override;

    // (position − lower) × 100 / (upper − lower), printed as "%d%"; 0% for
    // an empty range.
    static QString PercentText(int position, int lower, int upper);
    QString ShownPercent() const;
    QString ShownMessage() const;
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Position() const { return m_position; }

protected:
    // Neither Escape nor the window's close button ends an operation.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    void LetEventsRun();

    QProgressBar* m_bar;
    QLabel* m_percent;
    QLabel* m_message;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};
