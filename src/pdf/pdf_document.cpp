// Opening a PDF. Before poppler sees the file, its two ends are checked: a
// PDF starts with "%PDF-" and ends with "%%EOF". Poppler rebuilds a file cut
// short from what is left and would quietly give fewer or blank pages, so a
// file without its end mark is refused as cut short instead. A file whose
// pages need a password is refused; one that opens without a password (only
// its editing rights locked) is read like any other.
#include "pdf/pdf_document.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "pdf/pdf_library.h"
#include "toolbox/messages.h"

namespace {

// How far from each end the marks are looked for: writers may put a few
// bytes before the header and after the end mark.
constexpr long kPorteeMarques = 1024;

struct FichierC {
    std::FILE* f;
    ~FichierC() {
        if (f != nullptr) std::fclose(f);
    }
};

bool Contient(const std::string& bloc, const char* marque) {
    return bloc.find(marque) != std::string::npos;
}

// "" when both marks are there, else what is wrong.
std::string VerifieMarques(const std::string& chemin) {
    FichierC fichier{std::fopen(chemin.c_str(), "rb")};
    if (fichier.f == nullptr) return TexteLangue("can't be read");
    std::string bloc(kPorteeMarques, '\0');
    bloc.resize(std::fread(bloc.data(), 1, bloc.size(), fichier.f));
    if (!Contient(bloc, "%PDF-")) return TexteLangue("is not a PDF file");
    if (std::fseek(fichier.f, 0, SEEK_END) != 0) return TexteLangue("can't be read");
    const long taille = std::ftell(fichier.f);
    const long debut = taille > kPorteeMarques ? taille - kPorteeMarques : 0;
    if (taille < 0 || std::fseek(fichier.f, debut, SEEK_SET) != 0)
        return TexteLangue("can't be read");
    bloc.assign(kPorteeMarques, '\0');
    bloc.resize(std::fread(bloc.data(), 1, bloc.size(), fichier.f));
    if (!Contient(bloc, "%%EOF"))
        return TexteLangue("is damaged: it is cut short (no end-of-file mark)");
    return "";
}

std::string RaisonRefus(const GError* erreur) {
    if (erreur != nullptr && erreur->domain == Pdf().poppler_error_quark() &&
        erreur->code == POPPLER_ERROR_ENCRYPTED)
        return TexteLangue("is encrypted: its pages can't be read without its password");
    std::string raison = TexteLangue("is damaged");
    if (erreur != nullptr && erreur->message != nullptr)
        raison += std::string(" (") + erreur->message + ")";
    return raison;
}

}  // namespace

void LibereObjetGlib::operator()(void* objet) const {
    if (objet != nullptr) Pdf().g_object_unref(objet);
}

bool DocumentPdf::Ouvre(const std::string& chemin, std::string& erreur) {
    document_.reset();
    if (!ChargeFonctionsPdf(&erreur)) return false;
    const std::string raison = VerifieMarques(chemin);
    if (!raison.empty()) {
        erreur = "'" + chemin + "' " + raison;
        return false;
    }
    std::error_code ec;
    const std::string absolu = std::filesystem::absolute(chemin, ec).string();
    GError* e = nullptr;
    gchar* uri = Pdf().g_filename_to_uri(absolu.c_str(), nullptr, &e);
    if (uri != nullptr) {
        document_.reset(Pdf().poppler_document_new_from_file(uri, nullptr, &e));
        Pdf().g_free(uri);
    }
    if (!document_) {
        erreur = "'" + chemin + "' " + RaisonRefus(e);
        if (e != nullptr) Pdf().g_error_free(e);
        return false;
    }
    if (NbPages() <= 0) {
        erreur = FormateTexte(TexteLangue("'%s' has no pages"), chemin.c_str());
        document_.reset();
        return false;
    }
    return true;
}

int DocumentPdf::NbPages() const {
    return document_ ? Pdf().poppler_document_get_n_pages(document_.get()) : 0;
}

PagePdf DocumentPdf::Page(int numero) const {
    if (!document_ || numero < 1 || numero > NbPages()) return nullptr;
    return PagePdf(Pdf().poppler_document_get_page(document_.get(), numero - 1));
}
