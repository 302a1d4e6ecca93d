#include "catalogue/NewRemoteDialogImpl.h"

#include "app/CheckedPicture.h"

#include "catalogue/DocumentationText.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/ResourceFreeDocument.h"

#include <QCompleter>
#include <QCoreApplication>
#include <QTextDocument>

namespace {

// The opening texts are the main window's (its openers set them).
QString trWindow(const char *text)
{
    return QCoreApplication::translate("MainWindowImpl", text);
}

// The editor's text as the user wrote it. toPlainText() would turn every
// no-break space into a space and every line separator into a line break,
// all through a text of which the user changed one word.
QString writtenText(const QTextEdit *edit)
{
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

NewRemoteDialogImpl::NewRemoteDialogImpl(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
    // The documentation's markup comes from imports: what it names is never
    // fetched, and what the user pastes arrives as plain text.
    documentationTextEdit->setDocument(new ResourceFreeDocument(documentationTextEdit));
    documentationTextEdit->setAcceptRichText(false);
    // Lines break between words only, as in the documentation label: Qt's
    // breaking of one very long word anywhere (an address, markup shown as
    // text) takes time growing with the square of its length.
    documentationTextEdit->setWordWrapMode(QTextOption::WordWrap);
    documentationNoteLabel->hide();
    connect(cancelPushButton, &QPushButton::pressed, this, &QWidget::close);
}

NewRemoteDialogImpl::~NewRemoteDialogImpl() = default;

void NewRemoteDialogImpl::prepareCommon(int newMode, QCompleter *brands, QCompleter *types)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Marked so that the translation tool collects them in the window's context.
    static const char *const titles[] = {QT_TRANSLATE_NOOP("MainWindowImpl", "New Remote Control"),
                                         QT_TRANSLATE_NOOP("MainWindowImpl", "Edit Remote Control"),
                                         QT_TRANSLATE_NOOP("MainWindowImpl", "New Remote Control Link")};
    static const char *const okTexts[] = {QT_TRANSLATE_NOOP("MainWindowImpl", "Add New RC"),
                                          QT_TRANSLATE_NOOP("MainWindowImpl", "Edit RC"),
                                          QT_TRANSLATE_NOOP("MainWindowImpl", "Add New RC Link")};
    setWindowTitle(trWindow(titles[newMode - 1]));
    okPushButton->setText(trWindow(okTexts[newMode - 1]));
    cancelPushButton->setText(trWindow("Cancel"));
    mode = newMode;
    // The refreshes make new completers, so they are handed over each time.
    brandLineEdit->setCompleter(brands);
    typeLineEdit->setCompleter(types);
}

void NewRemoteDialogImpl::prepareNewFields(int newMode, QCompleter *brands, QCompleter *types)
{
    prepareCommon(newMode, brands, types);
    brandLineEdit->clear();
    typeLineEdit->clear();
    modelLineEdit->clear();
    documentationTextEdit->clear();
    documentationTextEdit->setReadOnly(false);
    documentationNoteLabel->hide();
    ownCheckBox->setChecked(true);
    for (QWidget *w : {static_cast<QWidget *>(brandLineEdit), static_cast<QWidget *>(typeLineEdit),
                       static_cast<QWidget *>(modelLineEdit), static_cast<QWidget *>(documentationTextEdit)})
        w->setEnabled(true);
    ownCheckBox->setEnabled(false);
    // A new record has neither correction nor protocol nor a visible identity.
    for (QWidget *w : {static_cast<QWidget *>(correctionLabel), static_cast<QWidget *>(correctionDSB),
                       static_cast<QWidget *>(protocolLabel), static_cast<QWidget *>(protocolSB),
                       static_cast<QWidget *>(labelRcid), static_cast<QWidget *>(rcidLineEdit),
                       static_cast<QWidget *>(labelLink), static_cast<QWidget *>(linkLineEdit)})
        w->setVisible(false);
}

void NewRemoteDialogImpl::prepareNew(QCompleter *brands, QCompleter *types)
{
    prepareNewFields(1, brands, types);
}

void NewRemoteDialogImpl::prepareLink(const QString &master, QCompleter *brands, QCompleter *types)
{
    masterRcid = master;
    prepareNewFields(3, brands, types);
}

void NewRemoteDialogImpl::prepareEdit(const Record &record, QCompleter *brands, QCompleter *types, bool showRcidLink,
                                      bool enableCorrection, bool enableProtocol)
{
    prepareCommon(2, brands, types);
    currentRcid = record.rcid;
    brandLineEdit->setText(record.brand);
    typeLineEdit->setText(record.type);
    modelLineEdit->setText(record.model);
    rcidLineEdit->setText(record.rcid);
    linkLineEdit->setText(record.link);
    ownCheckBox->setChecked(record.own);
    // A formatted text is shown as rebuilt markup, or as plain text when it
    // is too deep, too large or too costly to lay out. One longer than the
    // dialog edits (stored before the bound) is shown cut and kept as it is.
    const bool editable = record.documentation.size() <= DocumentationText::kMaxStoredChars;
    const DocumentationText::Shown documentation =
        DocumentationText::forDisplay(record.documentation, editable ? -1 : DocumentationText::kMaxStoredChars);
    if (documentation.rich)
        documentationTextEdit->setHtml(documentation.text);
    else
        documentationTextEdit->setPlainText(documentation.text);
    documentationTextEdit->setReadOnly(!editable);
    documentationNoteLabel->setVisible(!editable);
    if (!editable)
        documentationNoteLabel->setText(
            tr("This documentation is longer than %1 characters: only its start is shown, and it is kept as it is.")
                .arg(DocumentationText::kMaxStoredChars));
    correctionDSB->setValue(record.correction); // limited to one decimal and -20 ... 20
    protocolSB->setValue(record.prot);          // limited to 0 ... 999

    labelRcid->setVisible(showRcidLink);
    rcidLineEdit->setVisible(showRcidLink);
    labelLink->setVisible(showRcidLink);
    linkLineEdit->setVisible(showRcidLink);
    correctionLabel->setVisible(enableCorrection);
    correctionDSB->setVisible(enableCorrection);
    protocolLabel->setVisible(enableProtocol);
    protocolSB->setVisible(enableProtocol);

    // A factory model only offers to make it one of the user's own.
    for (QWidget *w : {static_cast<QWidget *>(brandLineEdit), static_cast<QWidget *>(typeLineEdit),
                       static_cast<QWidget *>(modelLineEdit), static_cast<QWidget *>(documentationTextEdit),
                       static_cast<QWidget *>(correctionDSB), static_cast<QWidget *>(protocolSB)})
        w->setEnabled(record.own);
    ownCheckBox->setEnabled(!record.own);

    m_shown.brand = brandLineEdit->text();
    m_shown.type = typeLineEdit->text();
    m_shown.model = modelLineEdit->text();
    m_shown.documentationPlain = documentationTextEdit->toPlainText();
    m_shown.documentationRich = documentation.rich;
    m_shown.documentationEditable = editable;
    m_shown.correction = correctionDSB->value();
    m_shown.prot = protocolSB->value();
    m_shown.own = ownCheckBox->isChecked();
}

bool NewRemoteDialogImpl::documentationFits(const QString &documentation, QString *error)
{
    if (documentation.size() <= DocumentationText::kMaxStoredChars)
        return true;
    if (error)
        *error = tr("The documentation is longer than %1 characters; nothing was written.")
                     .arg(DocumentationText::kMaxStoredChars);
    return false;
}

NewRemoteDialogImpl::WriteResult NewRemoteDialogImpl::write(QSqlDatabase db, QString *rcid, QString *error)
{
    const QString brand = brandLineEdit->text().toUpper();
    const QString type = typeLineEdit->text().toUpper();
    const QString model = modelLineEdit->text().toUpper();

    if (mode == 1 || mode == 3) {
        if (brand.isEmpty() || type.isEmpty() || model.isEmpty())
            return WriteResult::Incomplete;
        ModelRecords::NewModel record;
        record.brand = brand;
        record.type = type;
        record.model = model;
        record.documentation = writtenText(documentationTextEdit);
        if (!documentationFits(record.documentation, error))
            return WriteResult::Failed;
        record.link = mode == 3 ? masterRcid : QString();
        if (mode == 3 && masterRcid.isEmpty()) {
            if (error)
                *error = tr("No link master was chosen; nothing was written.");
            return WriteResult::Failed;
        }
        if (!ModelRecords::insertModel(db, record, rcid, error))
            return WriteResult::Failed;
        writtenBrand = brand;
        writtenModel = model;
        return WriteResult::Written;
    }
    if (mode != 2)
        return WriteResult::NoMode;

    // Only what the user could see and change is written; everything else
    // keeps its stored value exactly.
    auto usable = [this](QWidget *w) { return w->isVisibleTo(this) && w->isEnabled(); };
    ModelRecords::Edit edit;
    edit.rcid = currentRcid;
    if (usable(brandLineEdit) && brandLineEdit->text() != m_shown.brand) {
        if (brand.isEmpty())
            return WriteResult::Incomplete;
        edit.brand = brand;
    }
    if (usable(typeLineEdit) && typeLineEdit->text() != m_shown.type) {
        if (type.isEmpty())
            return WriteResult::Incomplete;
        edit.type = type;
    }
    if (usable(modelLineEdit) && modelLineEdit->text() != m_shown.model) {
        if (model.isEmpty())
            return WriteResult::Incomplete;
        edit.model = model;
    }
    if (m_shown.documentationEditable && usable(documentationTextEdit)
        && documentationTextEdit->toPlainText() != m_shown.documentationPlain) {
        // A formatted text stays formatted, stored as markup of the same
        // kind as it came (not Qt's whole document); a plain one stays plain.
        const QString text = writtenText(documentationTextEdit);
        if (m_shown.documentationRich && !text.isEmpty()) {
            edit.documentation = DocumentationText::forStorage(documentationTextEdit->toHtml());
            if (edit.documentation->isEmpty()) {
                if (error)
                    *error = tr("The documentation has grown too large to be shown formatted; nothing was written.");
                return WriteResult::Failed;
            }
        } else {
            edit.documentation = text;
        }
        if (!documentationFits(*edit.documentation, error))
            return WriteResult::Failed;
    }
    if (usable(correctionDSB) && correctionDSB->value() != m_shown.correction)
        edit.correction = correctionDSB->value();
    if (usable(protocolSB) && protocolSB->value() != m_shown.prot)
        edit.prot = protocolSB->value();
    if (usable(ownCheckBox) && ownCheckBox->isChecked() != m_shown.own)
        edit.own = ownCheckBox->isChecked();

    if (!ModelRecords::updateModel(db, edit, error))
        return WriteResult::Failed;
    writtenBrand = edit.brand.value_or(m_shown.brand);
    writtenModel = edit.model.value_or(m_shown.model);
    if (rcid)
        *rcid = currentRcid;
    return WriteResult::Written;
}
