#pragma once
// What the Diz and Nfo pages' buttons and options do to the description, nfo and extra fields.
// The window's handlers call these and then show the job again.
namespace kesto {

class Session;
struct JobSettings;

// Diz "&Create": opens AppDir/temp/file_id.diz (made empty when missing) in the editor.
void CreateDescription(Session &session);
// Diz "&Edit": opens DizPath in the editor; nothing when it is empty.
void EditDescription(Session &session);
// Diz "&Browse": picks a description and copies it to AppDir/file_id.diz.
void ChooseDescription(Session &session);
// Nfo "&Create": opens AppDir/temp/About.nfo (made empty when missing) in the editor.
void CreateNfo(Session &session);
// Nfo "&Edit": opens NfoPath in the editor; nothing when it is empty.
void EditNfo(Session &session);
// Nfo "&Browse": picks the nfo.
void ChooseNfo(Session &session);

// "&None": numbering off, the column and line emptied.
void NumberDescriptionOff(Session &session);
// "S&ubsitute at column": numbering on; column and line keep their text.
void NumberDescriptionOn(Session &session);
// Extra "&File" / "&Directory".
void SelectExtraFileKind(Session &session);
void SelectExtraDirectoryKind(Session &session);
// Extra "B&rowse": picks the extra file or directory of the selected kind.
void ChooseExtra(Session &session);

// What the pages enable: "&Test" and the column and line fields (shown greyed when off) follow
// the numbering; "B&rowse" follows the choice of an extra kind.
bool DizNumberingEnabled(const JobSettings &job);
bool ExtraBrowseEnabled(const JobSettings &job);

} // namespace kesto
