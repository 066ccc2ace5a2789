#include "scan/LectureTexte.h"

#include "scan/ConstructionGrille.h"

TLotPointsLus::TLotPointsLus(const TRecevoirPointsLus& recevoir) : recevoir_(recevoir) {
    lot_.reserve(RecordsParLot);
}

void TLotPointsLus::Vider() {
    if (!lot_.empty()) recevoir_(lot_.data(), lot_.size());
    lot_.clear();
}
