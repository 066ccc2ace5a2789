#include "vault/EtudeJson.h"

#include "scan/UArkaluneGlb.h"
#include "util/Format.h"
#include "vault/EtudeVoute.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using TChamps = std::vector<std::pair<const char*, std::string>>;

std::string Nombre(double x) {
    return std::isfinite(x) ? ReelExact(x) : "null";
}

std::string Nombre(float x) {
    return Nombre(double(x));
}

std::string Nombre(std::int64_t n) {
    return std::to_string(n);
}

std::string Chaine(const std::string& texte) {
    std::string r = "\"";
    for (const char c : texte) {
        switch (c) {
        case '"':
            r += "\\\"";
            break;
        case '\\':
            r += "\\\\";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\r':
            r += "\\r";
            break;
        case '\t':
            r += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
                r += u;
            } else {
                r += c;
            }
        }
    }
    return r + "\"";
}

std::string Objet(TChamps champs) {
    std::string r = "{";
    for (const auto& [cle, valeur] : champs) {
        if (r.size() > 1) r += ",";
        r += Chaine(cle) + ":" + valeur;
    }
    return r + "}";
}

template <class Conteneur, class F> std::string Liste(const Conteneur& elements, F&& enTexte) {
    std::string r = "[";
    for (const auto& e : elements) {
        if (r.size() > 1) r += ",";
        r += enTexte(e);
    }
    return r + "]";
}

template <class T, std::size_t N> std::string Nombres(const std::array<T, N>& valeurs) {
    return Liste(valeurs, [](T v) {
        if constexpr (std::is_integral_v<T>)
            return Nombre(std::int64_t(v));
        else
            return Nombre(v);
    });
}

std::string Vecteur(const TV2R& v) {
    return "[" + Nombre(v.X) + "," + Nombre(v.Y) + "]";
}
std::string Vecteur(const TV3R& v) {
    return "[" + Nombre(v.X) + "," + Nombre(v.Y) + "," + Nombre(v.Z) + "]";
}
std::string Vecteur(const TV3S& v) {
    return "[" + Nombre(v.X) + "," + Nombre(v.Y) + "," + Nombre(v.Z) + "]";
}

std::string Segment(const TVecteur2D& s) {
    return Objet({{"Pori", Vecteur(s.Pori)}, {"Px", Vecteur(s.Px)}});
}

std::string Arc(const TArc& a) {
    return Objet({
        {"nclav", Nombre(std::int64_t(a.nclav))},
        {"pts", Liste(a.pts, [](const TPtArc& p) { return Vecteur(p.XYZarc()); })},
        {"claveaux", Liste(a.claveaux,
                           [](const TClaveau& c) {
                               return Objet({{"XYZclav", Vecteur(c.XYZclav)},
                                             {"lgrclav", Nombre(c.lgrclav)},
                                             {"G", Nombre(c.G)}});
                           })},
        {"EffAppui", Vecteur(a.EffAppui)},
    });
}

std::string Quartier(const TQuartier& q) {
    return Objet({{"LargeurArcs", Nombre(q.LargeurArcs)},
                  {"kX", Nombre(q.kX)},
                  {"kY", Nombre(q.kY)},
                  {"Arcs", Liste(q.Arcs, Arc)}});
}

std::string Lecture(const TEtudeVoute& t) {
    const TLectureHauteurs& l = t.Lecture;
    return Objet({
        {"NbHauteurs", Nombre(std::int64_t(l.NbHauteurs))},
        {"NbLointaines", Nombre(std::int64_t(l.NbLointaines))},
        {"DistanceLointaine", Nombre(l.DistanceLointaine)},
        {"NiveauAppuiLu", Nombre(l.NiveauAppuiLu)},
        {"NiveauAppuiImpose", t.NiveauAppuiImpose ? Nombre(*t.NiveauAppuiImpose) : "null"},
        {"EtendueAppui", Nombre(l.EtendueAppui)},
        {"AppuiAmbigu", l.AppuiAmbigu() ? "true" : "false"},
    });
}

// Each action's range, as the caption gives the actions, then every variant.
std::string Sensibilite(const TEtudeVoute& t) {
    TChamps champs;
    for (int a = 0; a < 3; ++a) {
        const TEtendueEffort e = t.Sensibilite->Etendue(t.EffortsSurAppui, a);
        champs.emplace_back(NomsActions[a], Objet({{"Min", Nombre(e.Min)},
                                                   {"Max", Nombre(e.Max)},
                                                   {"Min_par", Chaine(e.NomMin)},
                                                   {"Max_par", Chaine(e.NomMax)}}));
    }
    champs.emplace_back("Variantes", Liste(t.Sensibilite->Variantes, [](const TVarianteEtude& v) {
                            return Objet({{"Nom", Chaine(v.Nom)},
                                          {"Efforts", v.Efforts ? Vecteur(*v.Efforts) : "null"},
                                          {"Refus", Chaine(v.Refus)}});
                        }));
    return Objet(std::move(champs));
}

} // namespace

std::string EtudeEnJson(const TEtudeVoute& t, const TEtatScan& s, double angRotZdeg) {
    const TRectangleModelisation& r = t.RecModl;
    TChamps champsScan = {
        {"NivMax", Nombre(std::int64_t(s.NivMax))},
        {"NbPoints", Nombre(std::int64_t(s.NbPoints))},
        {"NbCubesNiv", Nombres(s.NbCubesNiv)},
        {"CooMin", Vecteur(s.CooMin)},
        {"CooMax", Vecteur(s.CooMax)},
        {"OrigGrille", Nombres(s.OrigGrille)},
        {"DimGrille", Nombres(s.DimGrille)},
        {"NivAffiche", Nombre(std::int64_t(s.NivAffiche))},
    };
    // A survey in a national grid: its coordinates above are the file's less these metres.
    if (EstDecale(s.Decalage)) champsScan.emplace_back("Decalage", Nombres(s.Decalage));
    const std::string scan = Objet(champsScan);
    const std::string recModl = Objet({
        {"Q1a4", Nombre(std::int64_t(r.Q1a4))},
        {"XYcle", Vecteur(r.XYcle)},
        {"XYL1", Vecteur(r.XYL1)},
        {"XYapp", Vecteur(r.XYapp)},
        {"XYL2", Vecteur(r.XYL2)},
        {"Bord1", Segment(r.Bord1)},
        {"Bord2", Segment(r.Bord2)},
        {"McbA", Liste(r.McbA, [](const std::array<double, 2>& l) { return Nombres(l); })},
    });
    const std::string aretier =
        Objet({{"AA", Arc(t.ArcAretier.AA)},
               {"ChargesDesVoutes",
                Liste(t.ArcAretier.ChargesDesVoutes, [](const TV3R& c) { return Vecteur(c); })}});
    return Objet({
        {"scan", scan},
        {"RecModl", recModl},
        {"LargeurAretierM", Nombre(t.LargeurAretierM)},
        {"NbArcsVoute", Nombre(std::int64_t(t.NbArcsVoute))},
        {"Z0", Nombre(t.Z0)},
        {"MasseLinAretier", Nombre(t.MasseLinAretier)},
        {"MasseSurfVoute", Nombre(t.MasseSurfVoute)},
        {"MasseVolRemplissage", Nombre(t.MasseVolRemplissage)},
        {"NiveauRemplissage", Nombre(t.NiveauRemplissage)},
        {"AngRotZdeg", Nombre(angRotZdeg)},
        {"Quartier1", Quartier(t.Quartier1)},
        {"Quartier2", Quartier(t.Quartier2)},
        {"ArcAretier", aretier},
        {"Lecture", Lecture(t)},
        {"EffortsSurAppui", Vecteur(t.EffortsSurAppui)},
        {"LbResultats", Chaine(t.LbResultats)},
        {"EffortsSurAppuiNuage", Vecteur(t.EffortsSurAppuiNuage)},
        {"Sensibilite", t.Sensibilite ? Sensibilite(t) : "null"},
        {"FichierScan", Chaine(t.Contexte.FichierScan)},
        {"DateCalcul", Chaine(t.Contexte.Date)},
    });
}
