#pragma once

#include <QString>

// Modal messages under the application title.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Exclamation icon and an OK button; returns when the user has closed it.
    virtual void exclamation(const QString& text) = 0;
    // An OK button alone, no icon.
    virtual void plain(const QString& text) = 0;
};

class QtMessageBox final : public MessageBox {
public:
    void exclamation(const QString& text) override;
    void plain(const QString& text) override;
};
