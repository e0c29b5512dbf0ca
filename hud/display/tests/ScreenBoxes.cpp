#include "hud/display/tests/ScreenBoxes.h"

#include "hud/display/StatColors.h"

#include <QColor>

namespace vxtest {

std::vector<QRect> FindBoxes(const QImage& image)
{
    const QRgb background = StatColors::Background().rgb() & 0xffffff;
    std::vector<std::vector<bool>> seen(static_cast<size_t>(image.height()),
                                        std::vector<bool>(static_cast<size_t>(image.width())));
    std::vector<QRect> boxes;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (seen[y][x] || (image.pixel(x, y) & 0xffffff) != background) {
                continue;
            }
            QRect area(x, y, 1, 1);
            int count = 0;
            std::vector<QPoint> stack{QPoint(x, y)};
            seen[y][x] = true;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                ++count;
                area = area.united(QRect(p, QSize(1, 1)));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.x() >= 0 && q.y() >= 0 && q.x() < image.width() &&
                        q.y() < image.height() && !seen[q.y()][q.x()] &&
                        (image.pixel(q) & 0xffffff) == background) {
                        seen[q.y()][q.x()] = true;
                        stack.push_back(q);
                    }
                }
            }
            if (count > 200) {
                boxes.push_back(area);
            }
        }
    }
    return boxes;
}

}  // namespace vxtest
