#pragma once
// The Diz and Nfo pages' buttons and options that set the description, nfo and extra fields.
// Each is the click handler of its control; the window calls them and then shows the job again.
namespace kesto {

class Session;
struct JobSettings;

// Diz "&Create": opens AppDir/temp/file_id.diz (made empty when missing) in the editor.
void Command4_Click(Session &session);
// Diz "&Edit": opens DizPath in the editor; nothing when it is empty.
void Command5_Click(Session &session);
// Diz "&Browse": picks a description and copies it to AppDir/file_id.diz.
void Command6_Click(Session &session);
// Nfo "&Create": opens AppDir/temp/About.nfo (made empty when missing) in the editor.
void Command7_Click(Session &session);
// Nfo "&Edit": opens NfoPath in the editor; nothing when it is empty.
void Command11_Click(Session &session);
// Nfo "&Browse": picks the nfo.
void Command8_Click(Session &session);

// "&None": numbering off, the column and line emptied.
void Option1_Click(Session &session);
// "S&ubsitute at column": numbering on; column and line keep their text.
void Option3_Click(Session &session);
// Extra "&File" / "&Directory".
void Option2_Click(Session &session);
void Option4_Click(Session &session);
// Extra "B&rowse": picks the extra file or directory of the selected kind.
void Command9_Click(Session &session);

// What the pages enable: "&Test" and the column and line fields (shown greyed when off) follow
// the numbering; "B&rowse" follows the choice of an extra kind.
bool DizNumberingEnabled(const JobSettings &job);
bool ExtraBrowseEnabled(const JobSettings &job);

} // namespace kesto
