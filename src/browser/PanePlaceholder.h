#pragma once

#include <QWidget>

namespace tivora {

class BrowserPane;

// What a pane shows until its page arrives, in place of the view's white: the window's own
// colours and a quiet word while a page is on its way. Covers the pane's widget; hides once a
// page is there and comes back with the next view.
class PanePlaceholder final : public QWidget {
    Q_OBJECT

public:
    PanePlaceholder(BrowserPane& pane, QWidget* host);

    // Whether it says that a page is on its way.
    [[nodiscard]] bool waiting() const { return waiting_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void onDocumentComplete();
    [[nodiscard]] bool hostShowsView() const;

    QWidget* host_;
    bool waiting_ = true;
};

}  // namespace tivora
