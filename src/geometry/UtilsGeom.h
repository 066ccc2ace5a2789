#pragma once
// Plane geometry and rotation matrices.

#include "geometry/UtilsVect.h"

inline constexpr double Pi = 3.141592653589793;

TV2x2R Mcb22FromPoints(const TV2R& p, const TV2R& q, double& distance);
TV2x2R Mcb22(const TV2R& p, const TV2R& q);
TV2x2R RotM2Angle(double theta);
TV2R GlobalToLocal2(const TV2x2R& m, const TV2R& origine, const TV2R& p);
TV2R LocalToGlobal2(const TV2x2R& m, const TV2R& origine, const TV2R& q);

TV3R LineCoefs(const TV2R& p, const TV2R& q);
bool IntersectLines(const TV3R& l1, const TV3R& l2, TV2R& i);
bool IntersectSegments(const TV2R& p1, const TV2R& p2, const TV2R& p3, const TV2R& p4, TV2R& i);
double PolygonArea(const aryTV2R& polygone);

TV3x3R RotM3Angles(const TV3R& angles);
TV3x3R GLToM3(const TmatGL16& m);
void M3ToGL(const TV3x3R& m3, TmatGL16& m);
TmatGL16 IdentiteGL16();
