// CDialog: a modal QDialog built from a dialog template, owned by the main frame.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <afxwin.h>

#include "mfc/DialogUnits.h"
#include "mfc/IdleLoop.h"
#include "mfc/Resources.h"
#include "mfc/WindowHost.h"

using platform::mfc::WindowHost;

namespace {

// Routes Qt's accept and reject (Enter, Escape) to the dialog object's OnOK and OnCancel.
class DialogWidget final : public QDialog {
public:
    using QDialog::QDialog;
    void accept() override {
        if (CDialog* dialog = owner()) dialog->OnOK();
    }
    void reject() override {
        if (CDialog* dialog = owner()) {
            dialog->OnCancel();
        } else {
            QDialog::reject();
        }
    }

private:
    CDialog* owner() const {
        const WindowHost* host = WindowHost::fromWidget(this);
        return host ? static_cast<CDialog*>(host->owner()) : nullptr;
    }
};

// "&&" is an ampersand and a single "&" marks a mnemonic, which statics do not underline.
QString withoutPrefixes(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

void addControl(QDialog& dialog, const platform::mfc::DialogItemResource& item,
                const platform::mfc::DialogBaseUnits& units, CDialog& owner) {
    const QRect place = platform::mfc::toPixels(units, item.x, item.y, item.cx, item.cy);
    const QString text = platform::mfc::toQString(item.text);
    QWidget* control = nullptr;
    if (item.className == "BUTTON") {
        auto* button = new QPushButton(text, &dialog);
        button->setDefault((item.style & 0x0F) == BS_DEFPUSHBUTTON);
        button->setAutoDefault(false);
        button->setGeometry(place);
        const int id = item.id;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&owner, id] {
            if (id == IDOK) owner.OnOK();
            if (id == IDCANCEL) owner.OnCancel();
        });
        control = button;
    } else {
        auto* label = new QLabel(&dialog);
        if ((item.style & 0x1F) == SS_ICON) {
            // An icon static takes the icon's own size, whatever the template says.
            const auto* icon = platform::mfc::findIcon(item.iconId);
            if (icon && !icon->images.empty()) {
                const QImage image = platform::mfc::toImage(icon->images.front());
                label->setPixmap(QPixmap::fromImage(image));
                label->setGeometry(place.x(), place.y(), image.width(), image.height());
            }
        } else {
            label->setText((item.style & SS_NOPREFIX) ? text : withoutPrefixes(text));
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setGeometry(place);
        }
        control = label;
    }
    control->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    control->setVisible((item.style & WS_VISIBLE) != 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : templateId_(nIDTemplate), parentWnd_(pParentWnd) {}

std::unique_ptr<WindowHost> CDialog::CreateHost(const CREATESTRUCT& cs) {
    const auto* resource = platform::mfc::findDialog(templateId_);
    if (!resource) return nullptr;
    WindowHost* owner = WindowHost::fromHandle(cs.hwndParent);
    auto* dialog = new DialogWidget(owner ? owner->widget() : nullptr);
    auto host = std::make_unique<WindowHost>(*this, dialog);
    const QFont font =
        platform::mfc::dialogFont(platform::mfc::toQString(resource->faceName), resource->pointSize);
    dialog->setFont(font);
    dialog->setWindowTitle(platform::mfc::toQString(resource->caption));
    const auto units = platform::mfc::baseUnitsOf(font);
    dialog->setFixedSize(
        platform::mfc::toPixels(units, 0, 0, resource->cx, resource->cy).size());
    for (const auto& item : resource->items) addControl(*dialog, item, units, *this);
    return host;
}

INT_PTR CDialog::DoModal() {
    CWnd* owner = parentWnd_ ? parentWnd_ : AfxGetMainWnd();
    CREATESTRUCT cs{};
    cs.hwndParent = owner ? owner->m_hWnd : nullptr;
    if (const auto* resource = platform::mfc::findDialog(templateId_))
        cs.style = static_cast<LONG>(resource->style);
    if (!CreateFromStruct(cs, nullptr, 0)) return -1;
    auto* dialog = qobject_cast<QDialog*>(platform::mfc::widgetOf(this));
    dialog->setWindowModality(Qt::ApplicationModal);
    OnInitDialog();
    int result;
    {
        platform::mfc::ModalScope modal;
        result = dialog->exec();
    }
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (auto* dialog = qobject_cast<QDialog*>(platform::mfc::widgetOf(this))) dialog->done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { OnCancel(); }

void CDialog::DoDataExchange(CDataExchange*) {}

CPaintDC::CPaintDC(CWnd*) {}

CPaintDC::~CPaintDC() = default;
