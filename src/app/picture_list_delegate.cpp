// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_list_delegate.h"

#include "app/picture_list_model.h"
#include "browse/thumbnail_loader.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace lumetta {

namespace {

constexpr int kPadding = 3;
constexpr int kGap = 6;

}  // namespace

PictureListDelegate::PictureListDelegate(ThumbnailLoader &thumbnails, QObject *parent)
    : QStyledItemDelegate(parent),
      thumbnails_(thumbnails)
{
}

QSize PictureListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int text = 2 * option.fontMetrics.height();
    return QSize(thumbnails_.Bound().width() * 3, std::max(thumbnails_.Bound().height(), text) + 2 * kPadding);
}

void PictureListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    base.text.clear();
    base.icon = QIcon();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus as the style draws them; the contents are ours.
    style->drawControl(QStyle::CE_ItemViewItem, &base, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect area = option.rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    const QFontMetrics &metrics = option.fontMetrics;

    painter->save();
    // As wide as the list's largest number (four digits at least), so every row lines up and
    // no number is cut.
    const int rows = index.model() ? index.model()->rowCount(index.parent()) : 0;
    const int numberWidth = metrics.horizontalAdvance(QString(std::max(4, int(QString::number(rows).size())), u'0'));
    const QRect numberRect(area.left(), area.top(), numberWidth, area.height());
    QColor muted = text;
    muted.setAlphaF(0.6f);
    painter->setPen(muted);
    painter->drawText(numberRect, Qt::AlignRight | Qt::AlignVCenter,
                      index.data(PictureListModel::NumberRole).toString());

    const QSize bound = thumbnails_.Bound();
    const QRect box(numberRect.right() + kGap, area.top() + (area.height() - bound.height()) / 2, bound.width(),
                    bound.height());
    const QString path = index.data(PictureListModel::PathRole).toString();
    const ThumbnailLoader::Thumbnail *thumbnail = thumbnails_.Find(path);
    if (thumbnail && !thumbnail->pixmap.isNull()) {
        const QSize size = thumbnail->pixmap.deviceIndependentSize().toSize();
        painter->drawPixmap(
            QRect(QPoint(box.left() + (box.width() - size.width()) / 2, box.top() + (box.height() - size.height()) / 2),
                  size),
            thumbnail->pixmap);
    } else {
        // Still coming, or nothing to show: an empty frame keeps the names lined up.
        QColor frame = text;
        frame.setAlphaF(0.25f);
        painter->setPen(frame);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
    }

    const QRect textRect(box.right() + kGap, area.top(), std::max(0, area.right() - box.right() - kGap), area.height());
    const QString problem = index.data(PictureListModel::MarkRole).toString();
    const QString details = index.data(PictureListModel::DetailsRole).toString();
    QStringList notes;
    if (!problem.isEmpty())
        notes << QStringLiteral("\u26A0 ") + problem;
    if (!details.isEmpty())
        notes << QStringLiteral("\u270E ") + details;
    const QString mark = notes.join(QStringLiteral("  "));
    const QString name = metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle, textRect.width());
    painter->setPen(text);
    if (mark.isEmpty()) {
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
    } else {
        const int middle = textRect.center().y();
        painter->drawText(QRect(textRect.left(), textRect.top(), textRect.width(), middle - textRect.top()),
                          Qt::AlignLeft | Qt::AlignBottom, name);
        painter->setPen(selected || problem.isEmpty() ? text : QColor(0xC0, 0x20, 0x20));
        painter->drawText(QRect(textRect.left(), middle, textRect.width(), textRect.bottom() - middle),
                          Qt::AlignLeft | Qt::AlignTop, metrics.elidedText(mark, Qt::ElideRight, textRect.width()));
    }
    painter->restore();
}

}  // namespace lumetta
