// The diary form: one diary entry (VenDry) of one of five categories
// (telephone call or fax, project event, note, meeting, extra event)
// inserted, changed or deleted, with the entry's alarm, its line in the
// day's daily note, its clipboard text, its fax and its documents.
//
// GUI thread only. Called by the diary browse on the browse's own thread
// with the request in CallRequest and the entry in that thread's VenDry
// buffer; one instance at a time.
#pragma once

#include "platform/WindowController.h"

#include <QString>

#include <memory>

namespace ven {

// The form (its request comes from CallRequest; `parameter` is unused).
//
// Reads: GCategory (a new entry's category), DiaryBeginDate, DiaryBeginTime
// and DiaryEndDate (the selection's window), DiaryCopyRequested (a copied
// entry keeps its times), LastBeginDate .. LastEndTime (a new meeting's or
// extra event's times), Sound_Path and Sound_File (a new alarm's sound).
// Writes: LastBeginDate .. LastEndTime (when an entry is stored or deleted,
// and for a change or delete of a project, meeting or extra event when it
// opens), Sound_Path and Sound_File with [Paths] of the settings file (a
// sound chosen for an alarm), GCatId and GCatNum (the entry as document
// owner), GDocPath and GDocDescription (before a new document), and, as the
// window closes, DiaryCopyRequested := 0 and AlarmsChanged + 1.
// Calls by name on its thread: "ProjectBr" and "NameBr" (select mode),
// "UpdateVenDoc", "FaximileRp" (parameter: the entry's number).
std::unique_ptr<WindowController> makeDiaryFr(const QString& parameter = {});

} // namespace ven
