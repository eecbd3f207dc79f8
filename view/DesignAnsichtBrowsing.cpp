// The view's side of browsing: opening the copy-and-sort dialog, scanning the source and
// stepping through its files.
#include "DesignAnsicht.h"

void CDesignAnsicht::OnNachKategorien() {}

long CDesignAnsicht::OnQuelleEinlesen() { return 0; }

long CDesignAnsicht::OnVorherigeDatei() { return 0; }

long CDesignAnsicht::OnNaechsteDatei() { return 0; }

long CDesignAnsicht::OnSortierenBeendet() { return 0; }

long CDesignAnsicht::OnDateiEntfernt() { return 0; }

void CDesignAnsicht::NotifySortierDialog() {}
