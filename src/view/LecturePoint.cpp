#include "view/LecturePoint.h"

#include "util/Format.h"

#include <cmath>

std::string TexteLecturePoint(const TV3R& point, const std::optional<TV3R>& precedent) {
    std::string texte = Formater("X = %.3f Y = %.3f Z = %.3f", point.X, point.Y, point.Z);
    if (precedent) {
        const TV3R d = SubV3R(point, *precedent);
        texte += Formater(" ; distance : %.3f m", std::sqrt(d.X * d.X + d.Y * d.Y + d.Z * d.Z));
    }
    return texte;
}
