#pragma once

#include <QString>
#include <zuwidgetcontroller.h>

class QGraphicsGridLayout;
class QGraphicsLinearLayout;
class ZuButton;
class ZuHelpButton;
class ZuImageWidget;
class ZuLabel;
class ZuProgressIndicator;

// A settings row: title, optional subtitle, help button and icon, and at the
// right end an on/off switch or, while something is pending, a busy spinner
// in the switch's place. The style fixes which parts the grid places; the
// parts are made on first use.
class SettingsItem : public ZuWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString subtitle READ subtitle WRITE setSubtitle)

public:
    // Bit 0 gives a subtitle row, bit 1 an icon, bit 2 a switch. The fixed
    // underlying type keeps values beyond the list well defined; they build
    // the single-title row.
    enum ItemStyle : int {
        TitleOnly = 0,
        TitleSubtitle = 1,
        TitleIcon = 2,
        TitleSubtitleIcon = 3,
        TitleSwitch = 4,
        TitleSubtitleSwitch = 5,
        TitleIconSwitch = 6,
        TitleSubtitleIconSwitch = 7
    };

    explicit SettingsItem(SettingsItem::ItemStyle style, QGraphicsItem *parent = nullptr);
    ~SettingsItem() override;

    SettingsItem::ItemStyle itemStyle() const;
    bool hasSwitch() const;
    bool hasIcon() const;

    ZuLabel *titleLabelWidget();
    ZuLabel *subtitleLabelWidget();
    QString title() const;
    void setTitle(const QString &title);
    QString subtitle() const;
    void setSubtitle(const QString &subtitle);

    // Takes the widget over as the row's icon and destroys the one it replaces.
    virtual void setImageWidget(ZuImageWidget *widget);
    virtual ZuImageWidget *imageWidget();
    ZuButton *button();
    virtual ZuHelpButton *infoButton();

public Q_SLOTS:
    virtual void setSpinner(bool on);

public:
    virtual QGraphicsGridLayout *createLayout();
    virtual QGraphicsLinearLayout *spinnerPlaceHolder();
    virtual QGraphicsLinearLayout *helpPlaceHolder();
    virtual void setTitleStretchFactor(int factor);
    virtual QGraphicsWidget *createSpacer();

    void wrapSingleTitle();
    bool isSpinning();
    void deleteSpinner();

public Q_SLOTS:
    void showButton();
    void startSpinning();

private:
    bool hasSubtitleRow() const;
    void removeFromPlaceHolder(QGraphicsLinearLayout *placeHolder, int index);

    SettingsItem::ItemStyle m_itemStyle;
    ZuLabel *m_titleLabel;
    ZuLabel *m_subtitleLabel;
    ZuImageWidget *m_imageWidget;
    ZuButton *m_switch;
    ZuProgressIndicator *m_spinner;
    QGraphicsLinearLayout *m_spinnerPlaceHolder;
    ZuHelpButton *m_helpButton;
    QGraphicsLinearLayout *m_helpPlaceHolder;
};
