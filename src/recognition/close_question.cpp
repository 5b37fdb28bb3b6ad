#include "recognition/close_question.h"

#include "recognition/document.h"
#include "recognition/page_list_file.h"
#include "toolbox/messages.h"

bool AccepteFermeture(const QuestionFermeture& question) {
    if (!Document.Modifie) return true;
    switch (question(kModeleQuestionFermeture + LangueCourante(), Document.Chemin)) {
        case ReponseFermeture::Enregistrer:
            return SauveListe();
        case ReponseFermeture::Annuler:
            return false;
        case ReponseFermeture::Abandonner:
            return true;
    }
    return false;
}
