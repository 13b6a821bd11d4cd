#pragma once

#include "store/categoryselection.h"

#include <QColor>
#include <QDialog>
#include <QListWidget>

#include <array>
#include <functional>
#include <string>

class QLineEdit;

namespace dvw {

class TApptDocument;

// The category list of the selection dialog: "All", "Default", then each category with its
// code and description in the category's colour. Several items can be selected; a selected
// item carries a mark at its left edge, and the item with the focus is highlighted.
class TCatListBox : public QListWidget
{
    Q_OBJECT
public:
    enum Role { CodeRole = Qt::UserRole, DescriptionRole, ColourRole };
    static constexpr int itemHeight = 20;
    explicit TCatListBox(QWidget *parent = nullptr);
};

// "Category selection": each change of the list takes effect in the document at once; OK
// keeps the changes (the caller rebuilds the document), Cancel puts back what was there.
class TCatSelectDialog : public QDialog
{
    Q_OBJECT
public:
    // colours: COLOR1..COLOR15. The document must outlive the dialog.
    TCatSelectDialog(TApptDocument &doc, const std::array<QColor, 15> &colours,
                     std::function<void()> help, QWidget *parent = nullptr);
    TCatListBox *list() const { return m_list; }
    // Whether any selection changed while the dialog was open.
    bool changed() const { return m_changed; }

    void reject() override;

private:
    void fill(const TApptDocument &doc, const std::array<QColor, 15> &colours);
    void followList();

    CategorySelection m_selection;
    TCatListBox *m_list = nullptr;
    bool m_changed = false;
    bool m_following = false;
};

// "Category definition": the code and description of a new category.
class TCatDefDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TCatDefDialog(QWidget *parent = nullptr);
    // The definition line the typed texts make.
    std::string definitionLine() const;

private:
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
};

} // namespace dvw
