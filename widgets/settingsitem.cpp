#include "settingsitem.h"

#include <QGraphicsGridLayout>
#include <QGraphicsLinearLayout>
#include <QTimer>
#include <zubutton.h>
#include <zucommonstyles.h>
#include <zudebug.h>
#include <zuhelpbutton.h>
#include <zuimagewidget.h>
#include <zulabel.h>
#include <zuprogressindicator.h>

namespace {
const char *const SwitchIconStyle = "CommonSwitchIconInverted";
const char *const RightIconStyle = "CommonRightIconInverted";
const char *const SwitchStyle = "CommonRightSwitchInverted";
const char *const TitleName = "CommonTitle";
const char *const SubtitleName = "CommonSubTitle";
const char *const ImageName = "CommonMainIcon";
const char *const SwitchName = "CommonSwitch";
const char *const HelpButtonName = "helpButton";
const char *const HelpIconId = "icon-s-description-inverse";

// Deferring the spinner and the switch lets the row's new layout settle
// before they appear, so neither flashes at a stale position.
const int ShowDelayMs = 25;

const int TitleRow = 0;
const int SubtitleRow = 1;
const int TextColumn = 0;
const int HelpColumn = 1;
const int IconColumn = 2;
const int SideRowSpan = 2;
const int SingleSpan = 1;
const int TextStretch = 1;
const int NoStretch = 0;
const Qt::Alignment TextAlignment = Qt::AlignLeft | Qt::AlignVCenter;

// The switch and the spinner sit in a placeholder layout nested in the grid.
// Showing an item there does not make the nested layout measure it again, so
// an item that was left out while hidden would keep a cell of no width; the
// cell keeps its room while the item is hidden instead.
void keepRoomWhenHidden(QGraphicsWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}
}

SettingsItem::SettingsItem(SettingsItem::ItemStyle style, QGraphicsItem *parent)
    : ZuWidgetController(parent)
    , m_itemStyle(style)
    , m_titleLabel(nullptr)
    , m_subtitleLabel(nullptr)
    , m_imageWidget(nullptr)
    , m_switch(nullptr)
    , m_spinner(nullptr)
    , m_spinnerPlaceHolder(nullptr)
    , m_helpButton(nullptr)
    , m_helpPlaceHolder(nullptr)
{
    setStyleName(QLatin1String(ZuCommonStyle::Panel));
    setLayout(createLayout());
}

SettingsItem::~SettingsItem()
{
    // Each deleted part takes itself out of the layout that holds it, so the
    // placeholders can go after the widgets they carry.
    delete m_titleLabel;
    delete m_subtitleLabel;
    delete m_switch;
    delete m_spinner;
    delete m_spinnerPlaceHolder;
    delete m_helpButton;
    delete m_helpPlaceHolder;
}

SettingsItem::ItemStyle SettingsItem::itemStyle() const
{
    return m_itemStyle;
}

bool SettingsItem::hasSwitch() const
{
    switch (m_itemStyle) {
    case TitleSwitch:
    case TitleSubtitleSwitch:
    case TitleIconSwitch:
    case TitleSubtitleIconSwitch:
        return true;
    default:
        return false;
    }
}

bool SettingsItem::hasIcon() const
{
    switch (m_itemStyle) {
    case TitleIcon:
    case TitleSubtitleIcon:
    case TitleIconSwitch:
    case TitleSubtitleIconSwitch:
        return true;
    default:
        return false;
    }
}

bool SettingsItem::hasSubtitleRow() const
{
    switch (m_itemStyle) {
    case TitleSubtitle:
    case TitleSubtitleIcon:
    case TitleSubtitleSwitch:
    case TitleSubtitleIconSwitch:
        return true;
    default:
        return false;
    }
}

ZuLabel *SettingsItem::titleLabelWidget()
{
    if (!m_titleLabel) {
        m_titleLabel = new ZuLabel(this, nullptr);
        m_titleLabel->setObjectName(QLatin1String(TitleName));
        m_titleLabel->setTextElide(true);
    }
    return m_titleLabel;
}

ZuLabel *SettingsItem::subtitleLabelWidget()
{
    if (!m_subtitleLabel) {
        m_subtitleLabel = new ZuLabel(this, nullptr);
        m_subtitleLabel->setObjectName(QLatin1String(SubtitleName));
        m_subtitleLabel->setTextElide(true);
        // The grid has no cell for it in this style; unplaced it would be
        // drawn over the title, so it stays hidden.
        if (!hasSubtitleRow())
            m_subtitleLabel->hide();
    }
    return m_subtitleLabel;
}

QString SettingsItem::title() const
{
    return m_titleLabel ? m_titleLabel->text() : QString();
}

void SettingsItem::setTitle(const QString &title)
{
    titleLabelWidget()->setText(title);
}

QString SettingsItem::subtitle() const
{
    return m_subtitleLabel ? m_subtitleLabel->text() : QString();
}

void SettingsItem::setSubtitle(const QString &subtitle)
{
    subtitleLabelWidget()->setText(subtitle);
}

void SettingsItem::setImageWidget(ZuImageWidget *widget)
{
    if (!hasIcon())
        return;
    // Replacing the icon with itself would otherwise destroy the widget the
    // row goes on holding.
    if (widget && widget == m_imageWidget)
        return;

    if (m_imageWidget) {
        if (QGraphicsLayout *rowLayout = layout()) {
            for (int i = 0; i < rowLayout->count(); ++i) {
                if (rowLayout->itemAt(i) == m_imageWidget) {
                    rowLayout->removeAt(i);
                    break;
                }
            }
        }
        delete m_imageWidget;
        m_imageWidget = nullptr;
    }

    if (widget) {
        m_imageWidget = widget;
        widget->setParentItem(this);
        if (auto *grid = dynamic_cast<QGraphicsGridLayout *>(layout()))
            grid->addItem(widget, TitleRow, IconColumn, SideRowSpan, SingleSpan, Qt::AlignCenter);
    }
}

ZuImageWidget *SettingsItem::imageWidget()
{
    if (!m_imageWidget) {
        m_imageWidget = new ZuImageWidget(this);
        m_imageWidget->setObjectName(QLatin1String(ImageName));
        m_imageWidget->setStyleName(QLatin1String(hasSwitch() ? SwitchIconStyle : RightIconStyle));
        if (!hasIcon())
            m_imageWidget->hide();
    }
    return m_imageWidget;
}

ZuButton *SettingsItem::button()
{
    if (!m_switch) {
        m_switch = new ZuButton(this, nullptr);
        m_switch->setObjectName(QLatin1String(SwitchName));
        m_switch->setStyleName(QLatin1String(SwitchStyle));
        m_switch->hide();
        m_switch->setViewType(ZuButton::switchType);
        m_switch->setCheckable(true);
        keepRoomWhenHidden(m_switch);
    }
    return m_switch;
}

ZuHelpButton *SettingsItem::infoButton()
{
    if (!m_helpButton) {
        m_helpButton = new ZuHelpButton(QString(), this);
        m_helpButton->setObjectName(QLatin1String(HelpButtonName));
        m_helpButton->setViewType(ZuButton::iconType);
        m_helpButton->setIconID(QLatin1String(HelpIconId));
        helpPlaceHolder()->addItem(m_helpButton);
        m_helpButton->setVisible(true);
    }
    return m_helpButton;
}

void SettingsItem::setSpinner(bool on)
{
    zuDebugStream(Q_FUNC_INFO) << on;
    setTitleStretchFactor(NoStretch);

    QGraphicsLinearLayout *placeHolder = spinnerPlaceHolder();
    if (on) {
        if (!m_spinner) {
            m_spinner = new ZuProgressIndicator(this, ZuProgressIndicator::spinnerType);
            m_spinner->setStyleName(QLatin1String(ZuCommonStyle::ListItemSpinner));
            m_spinner->hide();
            keepRoomWhenHidden(m_spinner);
        }
        if (placeHolder->count() == 0) {
            placeHolder->addItem(m_spinner);
        } else if (placeHolder->itemAt(0) != m_spinner) {
            placeHolder->removeAt(0);
            placeHolder->addItem(m_spinner);
        }
        QTimer::singleShot(ShowDelayMs, this, SLOT(startSpinning()));
    } else {
        if (m_spinner)
            placeHolder->removeItem(m_spinner);
        if (hasSwitch()) {
            const bool switchInPlace
                = placeHolder->count() > 0 && placeHolder->itemAt(0) == m_switch;
            if (!switchInPlace) {
                if (placeHolder->count() > 0)
                    placeHolder->removeAt(0);
                placeHolder->addItem(button());
            }
        }
        deleteSpinner();
    }

    if (hasSwitch()) {
        if (on) {
            if (m_switch)
                m_switch->hide();
        } else {
            QTimer::singleShot(ShowDelayMs, this, SLOT(showButton()));
        }
    }
    setTitleStretchFactor(TextStretch);
}

QGraphicsGridLayout *SettingsItem::createLayout()
{
    // The new grid replaces the row's layout at once, and a layout deletes
    // the layouts nested in it: the placeholders leave the old grid first.
    if (QGraphicsLayout *old = layout()) {
        for (int i = old->count() - 1; i >= 0; --i) {
            const QGraphicsLayoutItem *item = old->itemAt(i);
            if (item == m_spinnerPlaceHolder || item == m_helpPlaceHolder)
                old->removeAt(i);
        }
    }

    auto *grid = new QGraphicsGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    ZuLabel *titleLabel = titleLabelWidget();
    if (hasSubtitleRow()) {
        ZuLabel *subtitleLabel = subtitleLabelWidget();
        titleLabel->setStyleName(QLatin1String(ZuCommonStyle::Title));
        subtitleLabel->setStyleName(QLatin1String(ZuCommonStyle::Subtitle));
        subtitleLabel->setSizePolicy(
            QSizePolicy::Expanding, QSizePolicy::Preferred, QSizePolicy::DefaultType);
        grid->addItem(titleLabel, TitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
        grid->addItem(
            subtitleLabel, SubtitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
    } else {
        titleLabel->setStyleName(QLatin1String(ZuCommonStyle::SingleTitle));
        grid->addItem(titleLabel, TitleRow, TextColumn, SingleSpan, SingleSpan, TextAlignment);
    }

    grid->addItem(
        helpPlaceHolder(), TitleRow, HelpColumn, SideRowSpan, SingleSpan, Qt::AlignCenter);

    if (hasIcon())
        grid->addItem(
            imageWidget(), TitleRow, IconColumn, SideRowSpan, SingleSpan, Qt::AlignCenter);

    titleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    // The spinner cell follows whatever the style placed before it, so its
    // column is the number of items so far; a column skipped in between stays
    // empty and, with spacing 0, takes no room.
    const int spinnerColumn = grid->count();
    const int spinnerRowSpan = m_itemStyle == TitleSubtitleSwitch ? SideRowSpan : SingleSpan;
    grid->addItem(
        spinnerPlaceHolder(), TitleRow, spinnerColumn, spinnerRowSpan, SingleSpan, Qt::AlignCenter);

    // A placeholder kept from an earlier layout holds the switch or, while
    // the row spins, the spinner already.
    if (hasSwitch() && spinnerPlaceHolder()->count() == 0)
        spinnerPlaceHolder()->addItem(button());

    grid->setColumnStretchFactor(TextColumn, TextStretch);
    return grid;
}

QGraphicsLinearLayout *SettingsItem::spinnerPlaceHolder()
{
    if (!m_spinnerPlaceHolder) {
        m_spinnerPlaceHolder = new QGraphicsLinearLayout(Qt::Horizontal);
        m_spinnerPlaceHolder->setContentsMargins(0, 0, 0, 0);
        m_spinnerPlaceHolder->setSpacing(0);
    }
    return m_spinnerPlaceHolder;
}

QGraphicsLinearLayout *SettingsItem::helpPlaceHolder()
{
    if (!m_helpPlaceHolder) {
        m_helpPlaceHolder = new QGraphicsLinearLayout(Qt::Horizontal);
        m_helpPlaceHolder->setContentsMargins(0, 0, 0, 0);
        m_helpPlaceHolder->setSpacing(0);
    }
    return m_helpPlaceHolder;
}

void SettingsItem::setTitleStretchFactor(int factor)
{
    if (auto *grid = dynamic_cast<QGraphicsGridLayout *>(layout()))
        grid->setColumnStretchFactor(TextColumn, factor);
}

QGraphicsWidget *SettingsItem::createSpacer()
{
    auto *spacer = new QGraphicsWidget(this, Qt::WindowFlags());
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return spacer;
}

void SettingsItem::wrapSingleTitle()
{
    switch (m_itemStyle) {
    case TitleOnly:
    case TitleIcon:
    case TitleSwitch:
    case TitleIconSwitch:
        break;
    default:
        return;
    }
    ZuLabel *label = titleLabelWidget();
    if (label->wordWrap())
        return;
    label->setStyleName(QLatin1String(ZuCommonStyle::Title));
    label->setAlignment(TextAlignment);
    label->setWordWrap(true);
    label->setWrapMode(QTextOption::WordWrap);
}

bool SettingsItem::isSpinning()
{
    const bool spinning = m_spinner && m_spinner->unknownDuration();
    zuDebugStream(Q_FUNC_INFO) << spinning;
    return spinning;
}

void SettingsItem::deleteSpinner()
{
    delete m_spinner;
    m_spinner = nullptr;
}

void SettingsItem::showButton()
{
    // Only a switch in its cell is shown, or it would be drawn outside the
    // layout: a style without a switch has no cell for it (see
    // subtitleLabelWidget()), and while the spinner stands in the cell the
    // switch is out. The timer of a setSpinner(false) may fire after a
    // later setSpinner(true).
    if (m_switch && m_spinnerPlaceHolder && m_spinnerPlaceHolder->count() > 0
        && m_spinnerPlaceHolder->itemAt(0) == m_switch)
        m_switch->setVisible(true);
}

void SettingsItem::startSpinning()
{
    if (m_spinner && m_spinner->model()) {
        m_spinner->setVisible(true);
        m_spinner->setUnknownDuration(true);
    }
}
