#include "kivbrief.h"

namespace {
constexpr int DefaultMinValue = 0;
constexpr int DefaultMaxValue = 100;
constexpr int DefaultSliderSteps = 0; // continuous
} // namespace

KivBrief::KivBrief(QObject *parent)
    : QObject(parent)
{ }

KivBrief::~KivBrief() = default;

int KivBrief::widgetTypeID() const
{
    return LabelType;
}

QString KivBrief::valueText() const
{
    return QString();
}

QString KivBrief::icon() const
{
    return QString();
}

QString KivBrief::toggleIconId() const
{
    return QString();
}

Qt::Alignment KivBrief::align() const
{
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool KivBrief::toggle() const
{
    return false;
}

void KivBrief::setToggle(bool) { }

QString KivBrief::image() const
{
    return QString();
}

QString KivBrief::titleText() const
{
    return QString();
}

QString KivBrief::helpId() const
{
    return QString();
}

int KivBrief::minValue() const
{
    return DefaultMinValue;
}

int KivBrief::maxValue() const
{
    return DefaultMaxValue;
}

int KivBrief::sliderSteps() const
{
    return DefaultSliderSteps;
}

void KivBrief::setValue(const QVariant &) { }

QVariant KivBrief::value() const
{
    return QVariant();
}

QStringList KivBrief::possibleValues() const
{
    return QStringList();
}
