#pragma once

#include <QString>
#include <utility>

// Modal messages under the application's title.
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
    explicit QtMessageBox(QString title) : m_title(std::move(title)) {}
    void exclamation(const QString& text) override;
    void plain(const QString& text) override;

private:
    QString m_title;
};
