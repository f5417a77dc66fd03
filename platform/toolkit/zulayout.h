#pragma once

#include <QGraphicsLayout>
#include <QList>

class ZuLinearLayoutPolicy;

// A layout whose arrangement is decided by a policy. Policies made on the
// layout belong to it; the most recently made (or the one set with
// setPolicy) arranges the items, the others' items are left alone.
class ZuLayout : public QGraphicsLayout
{
public:
    explicit ZuLayout(QGraphicsLayoutItem *parent = nullptr);
    ~ZuLayout() override;

    ZuLinearLayoutPolicy *policy() const;
    void setPolicy(ZuLinearLayoutPolicy *policy);

    int count() const override;
    QGraphicsLayoutItem *itemAt(int index) const override;
    void removeAt(int index) override;
    void setGeometry(const QRectF &rect) override;
    void invalidate() override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    friend class ZuLinearLayoutPolicy;
    void addPolicy(ZuLinearLayoutPolicy *policy);

    QList<ZuLinearLayoutPolicy *> m_policies;
    ZuLinearLayoutPolicy *m_policy = nullptr;
};
