// The text table: every user-visible text by number, with its English default.
// A stored backslash-r pair stands for a line break and is turned into one when fetched.
#include "core/language/language.h"

namespace orvan {

constexpr std::array<LanguageTextDefault, kLanguageTextCount> kLanguageTextDefaults{{
    // Group 0: general words, questions and messages
    {0, 0, "Error"},
    {0, 1, "Ok"},
    {0, 2, "Cancel"},
    {0, 3, "Close"},
    {0, 4, "Ready"},
    {0, 5, "Under Construction"},
    {0, 6, "Question"},
    {0, 7, "Are you sure you want to delete this item?"},
    {0, 8, "Yes"},
    {0, 9, "No"},
    {0, 10, "Add"},
    {0, 11, "Delete"},
    {0, 12, "Edit"},
    {0, 13, "Properties"},
    {0, 14, "Rename"},
    {0, 15, "Previous"},
    {0, 16, "Next"},
    {0, 17, "Notice"},
    {0, 18, "Warning"},
    {0, 19, "Refresh"},
    {0, 20, "Colapse"},
    {0, 21, "Expand"},
    {0, 22, "Open in Explorer"},
    {0, 23, "Create new Subfolder"},
    {0, 24, "Are you sure you want to permanently delete folder [%s]?"},
    {0, 25, "Apply"},
    {0, 26, "Move up"},
    {0, 27, "Move down"},
    {0, 28, "Open"},
    {0, 29, "Cannot create shortcut \"%s\"."},
    {0, 30, "Cannot create/open registry key \"%s\"."},
    {0, 31, "Cannot copy file \"%s\" to \"%s\"."},
    {0, 32, "Cannot create folder \"%s\"."},
    {0, 33, "Revert"},
    {0, 34, "Are you sure you want to rewrite this file?"},
    {0, 35, "Move to folder"},
    {0, 36, "Default"},
    {0, 37, "For invoke help press F1 key."},
    {0, 38, "Back"},
    {0, 39, "More info"},
    {0, 40, "Left"},
    {0, 41, "Right"},
    {0, 42, "Center"},
    {0, 43, "Justify"},
    {0, 44, "Test"},
    {0, 45, "Root folder"},
    {0, 46, "Remove"},
    {0, 47, "Open new instance"},
    {0, 48, "<no value>"},
    {0, 49, "Object [%s] is changed. Do you want to save this changes?"},
    {0, 50, "String"},
    {0, 51, "Integer"},
    {0, 52, "Float"},
    {0, 53, "DateTime"},
    {0, 54, "Date"},
    {0, 55, "Time"},
    {0, 56, "Boolean"},
    {0, 70, "Duplicate"},
    {0, 71, ""},
    {0, 100, "Application error"},
    {0, 101, "Directly terminate application"},
    {0, 102, "Application error raised! [%s]"},
    {0, 103, "No item selected!"},
    {0, 104, "Error writing file #%s!"},
    {0, 105, "Feature not supported in this version!"},
    {0, 106, "Cannot delete folder/file \"%s\"."},
    {0, 107, "Unable to write to %s"},
    {0, 200, "New"},
    {0, 201, "Open file"},
    {0, 202, "Save"},
    {0, 203, "Save as"},
    {0, 204, "Save copy as"},
    {0, 205, "Close"},
    {0, 206, "Close all"},
    {0, 207, "Print"},
    {0, 208, "Browse"},
    {0, 209, "Delete"},
    {0, 210, "Cut"},
    {0, 211, "Copy"},
    {0, 212, "Paste"},
    {0, 213, "Folder"},
    {0, 214, "Item"},
    {0, 215, "Copy value to clipboard"},
    {0, 216, "Copy all values to the clipboard"},
    {0, 217, "Save to file"},
    {0, 218, ""},
    {0, 219, ""},
    // Group 1: language names
    {1, 1000, ""},
    {1, 1001, ""},
    {1, 1100, "None"},
    {1, 1101, "Default"},
    {1, 1102, "Afrikaans"},
    {1, 1103, "Albanian"},
    {1, 1104, "Amharic"},
    {1, 1105, "Arabic - Algeria"},
    {1, 1106, "Arabic - Bahrain"},
    {1, 1107, "Arabic - Egypt"},
    {1, 1108, "Arabic - Iraq"},
    {1, 1109, "Arabic - Jordan"},
    {1, 1110, "Arabic - Kuwait"},
    {1, 1111, "Arabic - Lebanon"},
    {1, 1112, "Arabic - Libya"},
    {1, 1113, "Arabic - Morocco"},
    {1, 1114, "Arabic - Oman"},
    {1, 1115, "Arabic - Qatar"},
    {1, 1116, "Arabic"},
    {1, 1117, "Arabic - Syria"},
    {1, 1118, "Arabic - Tunisia"},
    {1, 1119, "Arabic - UAE"},
    {1, 1120, "Arabic - Yemen"},
    {1, 1121, "Armenian"},
    {1, 1122, "Assamese"},
    {1, 1123, "Azeri - Cyrillic"},
    {1, 1124, "Azeri - Latin"},
    {1, 1125, "Basque"},
    {1, 1126, "Byelorussian"},
    {1, 1127, "Bengali"},
    {1, 1128, "Bulgarian"},
    {1, 1129, "Burmese"},
    {1, 1130, "Catalan"},
    {1, 1131, "Cherokee"},
    {1, 1132, "Chinese - Hong Kong SAR"},
    {1, 1133, "Chinese - Macao SAR"},
    {1, 1134, "Simplified Chinese"},
    {1, 1135, "Chinese - Singapore"},
    {1, 1136, "Traditional Chinese"},
    {1, 1137, "Croatian"},
    {1, 1138, "Czech"},
    {1, 1139, "Danish"},
    {1, 1140, "Divehi"},
    {1, 1141, "Belgian Dutch"},
    {1, 1142, "Dutch"},
    {1, 1143, "Dzongkha Bhutan"},
    {1, 1144, "Edo"},
    {1, 1145, "English - AUS"},
    {1, 1146, "English - Belize"},
    {1, 1147, "English - Canadian"},
    {1, 1148, "English - Caribbean"},
    {1, 1149, "English - Ireland"},
    {1, 1150, "English - Jamaica"},
    {1, 1151, "English - New Zealand"},
    {1, 1152, "English - Philippines"},
    {1, 1153, "English - South Africa"},
    {1, 1154, "English - Trinidad Tobago"},
    {1, 1155, "English - UK"},
    {1, 1156, "English - US"},
    {1, 1157, "English - Zimbabwe"},
    {1, 1158, "English - Indonesia"},
    {1, 1159, "Estonian"},
    {1, 1160, "Faeroese"},
    {1, 1161, "Farsi"},
    {1, 1162, "Filipino"},
    {1, 1163, "Finnish"},
    {1, 1164, "Fulfulde"},
    {1, 1165, "Belgian French"},
    {1, 1166, "French - Cameroon"},
    {1, 1167, "French - Canadian"},
    {1, 1168, "French - Coted Ivoire"},
    {1, 1169, "French"},
    {1, 1170, "French - Luxembourg"},
    {1, 1171, "French - Mali"},
    {1, 1172, "French - Monaco"},
    {1, 1173, "French - Reunion"},
    {1, 1174, "French - Senegal"},
    {1, 1175, "French - Morocco"},
    {1, 1176, "French - Haiti"},
    {1, 1177, "Swiss French"},
    {1, 1178, "French - West Indies"},
    {1, 1179, "French Zaire"},
    {1, 1180, "Frisian Netherlands"},
    {1, 1181, "Gaelic Ireland"},
    {1, 1182, "Gaelic Scotland"},
    {1, 1183, "Galician"},
    {1, 1184, "Georgian"},
    {1, 1185, "German - Austria"},
    {1, 1186, "German"},
    {1, 1187, "German - Liechtenstein"},
    {1, 1188, "German - Luxembourg"},
    {1, 1189, "Swiss German"},
    {1, 1190, "Greek"},
    {1, 1191, "Guarani"},
    {1, 1192, "Gujarati"},
    {1, 1193, "Hausa"},
    {1, 1194, "Hawaiian"},
    {1, 1195, "Hebrew"},
    {1, 1196, "Hindi"},
    {1, 1197, "Hungarian"},
    {1, 1198, "Ibibio"},
    {1, 1199, "Icelandic"},
    {1, 1200, "Igbo"},
    {1, 1201, "Indonesian"},
    {1, 1202, "Inuktitut"},
    {1, 1203, "Italian"},
    {1, 1204, "Swiss Italian"},
    {1, 1205, "Japanese"},
    {1, 1206, "Kannada"},
    {1, 1207, "Kanuri"},
    {1, 1208, "Kashmiri"},
    {1, 1209, "Kazakh"},
    {1, 1210, "Khmer"},
    {1, 1211, "Kirghiz"},
    {1, 1212, "Konkani"},
    {1, 1213, "Korean"},
    {1, 1214, "Kyrgyz"},
    {1, 1215, "Lao"},
    {1, 1216, "Latin"},
    {1, 1217, "Latvian"},
    {1, 1218, "Lithuanian"},
    {1, 1219, "Macedonian"},
    {1, 1220, "Malaysian"},
    {1, 1221, "Malay Brunei Darussalam"},
    {1, 1222, "Malayalam"},
    {1, 1223, "Maltese"},
    {1, 1224, "Manipuri"},
    {1, 1225, "Marathi"},
    {1, 1226, "Mongolian"},
    {1, 1227, "Nepali"},
    {1, 1228, "Norwegian Bokmol"},
    {1, 1229, "Norwegian Nynorsk"},
    {1, 1230, "Oriya"},
    {1, 1231, "Oromo"},
    {1, 1232, "Pashto"},
    {1, 1233, "Polish"},
    {1, 1234, "Brazilian Portuguese"},
    {1, 1235, "Portuguese"},
    {1, 1236, "Punjabi"},
    {1, 1237, "Rhaeto Romanic"},
    {1, 1238, "Romanian Moldova"},
    {1, 1239, "Romanian"},
    {1, 1240, "Russian Moldova"},
    {1, 1241, "Russian"},
    {1, 1242, "Sami Lappish"},
    {1, 1243, "Sanskrit"},
    {1, 1244, "Serbian - Cyrillic"},
    {1, 1245, "Serbian - Latin"},
    {1, 1246, "Sinhalese"},
    {1, 1247, "Sindhi"},
    {1, 1248, "Sindhi - Pakistan"},
    {1, 1249, "Slovak"},
    {1, 1250, "Slovenian"},
    {1, 1251, "Somali"},
    {1, 1252, "Sorbian"},
    {1, 1253, "Spanish - Argentina"},
    {1, 1254, "Spanish - Bolivia"},
    {1, 1255, "Spanish - Chile"},
    {1, 1256, "Spanish - Colombia"},
    {1, 1257, "Spanish - Costa Rica"},
    {1, 1258, "Spanish - Dominican Republic"},
    {1, 1259, "Spanish - Ecuador"},
    {1, 1260, "Spanish - El Salvador"},
    {1, 1261, "Spanish - Guatemala"},
    {1, 1262, "Spanish - Honduras"},
    {1, 1263, "Mexican - Spanish"},
    {1, 1264, "Spanish - Nicaragua"},
    {1, 1265, "Spanish - Panama"},
    {1, 1266, "Spanish - Paraguay"},
    {1, 1267, "Spanish - Peru"},
    {1, 1268, "Spanish - Puerto Rico"},
    {1, 1269, "Spanish - Modern"},
    {1, 1270, "Spanish"},
    {1, 1271, "Spanish - Uruguay"},
    {1, 1272, "Spanish - Venezuela"},
    {1, 1273, "Sesotho"},
    {1, 1274, "Sutu"},
    {1, 1275, "Swahili"},
    {1, 1276, "Swedish - Finland"},
    {1, 1277, "Swedish"},
    {1, 1278, "Syriac"},
    {1, 1279, "Tajik"},
    {1, 1280, "Tamazight"},
    {1, 1281, "Tamazight Latin"},
    {1, 1282, "Tamil"},
    {1, 1283, "Tatar"},
    {1, 1284, "Telugu"},
    {1, 1285, "Thai"},
    {1, 1286, "Tibetan"},
    {1, 1287, "Tigrigna - Ethiopic"},
    {1, 1288, "Tigrigna - Eritrea"},
    {1, 1289, "Tsonga"},
    {1, 1290, "Tswana"},
    {1, 1291, "Turkish"},
    {1, 1292, "Turkmen"},
    {1, 1293, "Ukrainian"},
    {1, 1294, "Urdu"},
    {1, 1295, "Uzbek - Cyrillic"},
    {1, 1296, "Uzbek - Latin"},
    {1, 1297, "Venda"},
    {1, 1298, "Vietnamese"},
    {1, 1299, "Welsh"},
    {1, 1300, "Xhosa"},
    {1, 1301, "Yi"},
    {1, 1302, "Yiddish"},
    {1, 1303, "Yoruba"},
    {1, 1304, "Zulu"},
    {1, 1305, ""},
    {1, 1306, ""},
    {1, 1307, ""},
    // Group 10: sizes and counts
    {10, 10001, "%s bytes"},
    {10, 10002, "%s kB"},
    {10, 10003, "%s MB"},
    {10, 10004, "%s GB"},
    {10, 10009, "%s px"},
    {10, 10020, "%s item(s)"},
    // Group 11: time units and value types
    {11, 11001, "days"},
    {11, 11002, "hrs"},
    {11, 11003, "mins"},
    {11, 11004, "secs"},
    {11, 11011, "%s days"},
    {11, 11050, "Text"},
    {11, 11051, "Integer"},
    {11, 11052, "Float"},
    {11, 11053, "Date & Time"},
    {11, 11054, "Boolean"},
    {11, 11055, "Date"},
    {11, 11056, "Time"},
    {11, 11057, ""},
    {11, 11058, ""},
    // Group 12: dates
    {12, 12001, "Today is %s"},
    {12, 12002, "Monday"},
    {12, 12003, "Tuesday"},
    {12, 12004, "Wednesday"},
    {12, 12005, "Thursday"},
    {12, 12006, "Friday"},
    {12, 12007, "Saturday"},
    {12, 12008, "Sunday"},
    {12, 12009, "Now is %s"},
    {12, 12010, "%s days, %s"},
    // Group 11: time units and value types, kept beside the dates
    {11, 12011, "Week %s"},
    // Group 13: file information
    {13, 13001, "File"},
    {13, 13002, "File Name"},
    {13, 13003, "File not found"},
    {13, 13004, "Any file"},
    {13, 13005, "Text file"},
    {13, 13006, ""},
    {13, 13007, ""},
    {13, 13008, ""},
    {13, 13009, ""},
    {13, 13010, "Attributes"},
    {13, 13011, "File size"},
    {13, 13012, "File time"},
    {13, 13013, "Disk size"},
    {13, 13014, "Disk free"},
    {13, 13015, "Volume label"},
    {13, 13016, "File extension"},
    {13, 13017, "File name"},
    {13, 13020, "Company name"},
    {13, 13021, "File type"},
    {13, 13022, "File description"},
    {13, 13023, "File version"},
    {13, 13024, "Internal name"},
    {13, 13025, "Legal copyright"},
    {13, 13026, "Legal trademarks"},
    {13, 13027, "Original filename"},
    {13, 13028, "Product name"},
    {13, 13029, "Product version"},
    {13, 13030, "Comments"},
    {13, 13031, "Special build str"},
    {13, 13032, "Private build str"},
    {13, 13033, "File function"},
    {13, 13034, "Debug build"},
    {13, 13035, "Pre release"},
    {13, 13036, "Special build"},
    {13, 13037, "Private build"},
    {13, 13038, "Patched"},
    {13, 13039, "Info inferred"},
    {13, 13040, ""},
    {13, 13041, ""},
    // Group 200: robot
    {200, 200001, "No function defined"},
    {200, 200002, "List of defined functions"},
    {200, 200003, "All functions successful deleted"},
    {200, 200004, "Last inserted function deleted"},
    {200, 200005, "Function added"},
    {200, 200006, "Calculation error"},
    {200, 200007, "Expression not defined"},
    {200, 200008, "RND(%s)=%s"},
    {200, 200009, "Be proper!"},
    {200, 200010, "Current time %s"},
    {200, 200011, "Today is %s"},
    {200, 200012, "Help is not available!"},
    {200, 200013, "Bad command or file name."},
    // Group 300: log
    {300, 300001, "System log"},
    {300, 300002, ""},
    {300, 300003, ""},
    {300, 300010, "Started at %s"},
    {300, 300011, ""},
    // Group 1000: tray menu
    {1000, 1000000, ""},
    {1000, 1000001, "Exit"},
    {1000, 1000002, "Restore"},
    {1000, 1000003, "Click here to restore application."},
    {1000, 1000004, "Hide"},
    {1000, 1000005, "Show"},
    // Group 1010: page captions of the search window
    {1010, 1010001, ""},
    {1010, 1010002, ""},
    {1010, 1010010, "Orvan!"},
    {1010, 1010011, "Quick"},
    {1010, 1010012, "Notes"},
    {1010, 1010013, "Clipboard"},
    {1010, 1010014, "Robot"},
    {1010, 1010015, "About"},
    // Group 2000: search window, details and launch errors
    {2000, 2000010,
     "Type your question and press Enter.\\r\\rYou can enter file name, folder name, name of the "
     "program, mathematic expression, internet address or anything else."},
    {2000, 2000011, "Bad command or file name. Please correct your input."},
    {2000, 2000012, "Bad command."},
    {2000, 2000013, "Orvan!"},
    {2000, 2000020, "View details"},
    {2000, 2000021, "Copy details to clipboard"},
    {2000, 2000022, "Details"},
    {2000, 2000023, "%s details"},
    {2000, 2000024, "Name"},
    {2000, 2000025, "Value"},
    {2000, 2000026, "To Clipboard"},
    {2000, 2000027, "As text"},
    {2000, 2000900, "Unknown error."},
    {2000, 2000901, "The operation system is out of memory or resources."},
    {2000, 2000902, "The specified file was not found."},
    {2000, 2000903, "The specified path was not found."},
    {2000, 2000904, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
    {2000, 2000905, "The operating system denied access to the specified file."},
    {2000, 2000906, "The filename association is incomplete or invalid."},
    {2000, 2000907,
     "The DDE transaction could not be completed because other DDE transactions were being "
     "processed."},
    {2000, 2000908, "The DDE transaction failed."},
    {2000, 2000909, "The DDE transaction could not be completed because the request timed out."},
    {2000, 2000910, "The specified dynamic-link library was not found."},
    {2000, 2000911, "There is no application associated with the given filename extension."},
    {2000, 2000912, "There was not enough memory to complete the operation."},
    {2000, 2000913, "A sharing violation occurred."},
    // Group 3000: quick launch
    {3000, 3000000, ""},
    {3000, 3000000, ""},
    {3000, 3000000, ""},
    {3000, 3000000, ""},
    {3000, 3000000, ""},
    {3000, 3000010,
     "No quick launch defined. Press right mouse to invoke menu or Ins key to add new item."},
    // Group 8000: installer
    {8000, 8000000, "Install of %s"},
    {8000, 8000001, ""},
    {8000, 8000010, "Install"},
    {8000, 8000011, "Install new instance of Orvan!"},
    {8000, 8000012, "Remove"},
    {8000, 8000013, "Remove all installed files from your computer"},
    {8000, 8000014, "Repair"},
    {8000, 8000015, "Repair existing installation"},
    {8000, 8000016, "Stop"},
    {8000, 8000017, ""},
    {8000, 8000020,
     "This will manage your Orvan! installation. Please select operation, set up your personal "
     "options and click relevant button."},
    {8000, 8000021, "Operation"},
    {8000, 8000022, "Language"},
    {8000, 8000023, "Hot Key"},
    {8000, 8000024, "Program directory"},
    {8000, 8000025, "Install for"},
    {8000, 8000026, "All users"},
    {8000, 8000027, "Current user"},
    {8000, 8000035, "Create ShortCut in start menu"},
    {8000, 8000036, "Launch Orvan! on startup"},
    {8000, 8000037, ""},
    {8000, 8000040,
     "Orvan! is ready to install on your computer. Click Install button to start instalation."},
    {8000, 8000041,
     "Orvan! is already installed on your computer. You can remove or repare your actual "
     "installation."},
    {8000, 8000042,
     "Orvan! is running on your computer now. Install can't continue while other instance is "
     "running. You can try to stop it by Stop button."},
    {8000, 8000043,
     "Orvan! is now successfully installed on your computer. Do you want to close the installation "
     "process and run Orvan! now?"},
    {8000, 8000044, "Orvan! is now uninstalled. The installation process will be close. Bye!"},
    {8000, 8000045, ""},
    {8000, 8000047,
     "Orvan! did not stop within 5 seconds. Please end it yourself, then try again."},
    {8000, 80000463, ""},
    {8000, 8000060,
     "Orvan! is installed, but could not be started with your own rights. Please start it "
     "yourself."},
    {8000, 8000061,
     "Orvan! is now uninstalled. Its program file is in use and will be deleted when Windows "
     "restarts. The installation process will be close. Bye!"},
    {8000, 8000062, "Building the catalog: %s folders, %s files"},
    {8000, 8000063,
     "Orvan! is now uninstalled, but its program file is in use and stays: %s. Please delete it "
     "once Orvan! has ended. The installation process will be close. Bye!"},
    {8000, 8000064, "Order results by relevance"},
    {8000, 8000065, "Forget"},
    // Group 8000 (from 8000100): the Quick, Notes and Clipboard pages
    {8000, 8000100, "Pin to Quick"},
    {8000, 8000101, "Filter:"},
    {8000, 8000102,
     "Enter starts, Del removes, Ctrl+Up/Down moves.\\rAlt+1 to Alt+9 start the first nine."},
    {8000, 8000103, "Nothing pinned yet: press Ctrl+D on a row of the first page to pin it here."},
    {8000, 8000104,
     "The notes file %s is larger than 1 MB. It is left as it is, and this page is read-only."},
    {8000, 8000105,
     "The notes file %s cannot be read as text. It is left as it is, and this page is read-only."},
    {8000, 8000106, "Keep clipboard history between starts"},
    {8000, 8000107, "Clear"},
    {8000, 8000108, "(cut)"},
    {8000, 8000109, "Enter puts the text back on the clipboard, Del removes it."},
    // Group 9000: settings and installation status
    {9000, 8000050, "Title"},
    {9000, 8000051, "Version"},
    {9000, 8000052, "Path"},
    {9000, 8000053, "Installed"},
    {9000, 8000054, "Start menu"},
    {9000, 8000055, "Run on startup"},
    {9000, 8000056, ""},
    {9000, 9000000, "Options"},
    {9000, 9000010, "General settings"},
    {9000, 9000011, "Catalog"},
    {9000, 9000012, "Status"},
    {9000, 9000013, ""},
    {9000, 9000014, ""},
    {9000, 9000015, ""},
    {9000, 9000020, "Always visible"},
    {9000, 9000021, "Auto hide"},
    {9000, 9000022, "Always on top"},
    {9000, 9000023, "Auto center"},
    {9000, 9000024, "Portable mode"},
    {9000, 9000025, "Auto update catalog"},
    {9000, 9000026, "Hot key"},
    {9000, 9000027, "Language"},
    {9000, 9000028, "Show on desktop"},
    {9000, 9000029, "Show tray icon"},
    {9000, 9000030, ""},
    {9000, 9000031, ""},
    {9000, 9000039, "Catalog path"},
    {9000, 9000040, "Path"},
    {9000, 9000041, "Mask"},
    {9000, 9000042, "Path is enabled"},
    {9000, 9000043, "Depth"},
    {9000, 9000044, "Unlimited depth"},
    {9000, 9000045, "Include subdirectories"},
    {9000, 9000046, ""},
    {9000, 9000050, "Rebuild catalog"},
    {9000, 9000051, "Rebuild"},
    {9000, 9000052, "Stop"},
    {9000, 9000053,
     "Rebuilding new catalog.\\r\\rCatalog items: %s\\rFolders: %s\\rFiles: %s\\r\\rScanning "
     "folder: %s"},
    {9000, 9000054, "Catalog has %s items.\\r\\rLast rebuild: %s"},
    {9000, 9000055, ""},
    {9000, 9000056, ""},
    // Added after the original table: the settings dialog's report of a hot key that another
    // program holds.
    {9000, 9000057,
     "Another program already uses the hot key %s, so it cannot bring up Orvan! now. Choose "
     "another hot key in the options."},
}};

// Text IDs 1100 onwards name the languages in this order.
constexpr std::array<LanguageListItem, kLanguageListCount> LanguageList{{
    {0, 1100},     // None
    {1, 1101},     // Default
    {1078, 1102},  // Afrikaans
    {1052, 1103},  // Albanian
    {1118, 1104},  // Amharic
    {5121, 1105},  // Arabic - Algeria
    {15361, 1106}, // Arabic - Bahrain
    {3073, 1107},  // Arabic - Egypt
    {2049, 1108},  // Arabic - Iraq
    {11265, 1109}, // Arabic - Jordan
    {13313, 1110}, // Arabic - Kuwait
    {12289, 1111}, // Arabic - Lebanon
    {4097, 1112},  // Arabic - Libya
    {6145, 1113},  // Arabic - Morocco
    {8193, 1114},  // Arabic - Oman
    {16385, 1115}, // Arabic - Qatar
    {1025, 1116},  // Arabic
    {10241, 1117}, // Arabic - Syria
    {7169, 1118},  // Arabic - Tunisia
    {14337, 1119}, // Arabic - UAE
    {9217, 1120},  // Arabic - Yemen
    {1067, 1121},  // Armenian
    {1101, 1122},  // Assamese
    {2092, 1123},  // Azeri - Cyrillic
    {1068, 1124},  // Azeri - Latin
    {1069, 1125},  // Basque
    {1059, 1126},  // Byelorussian
    {1093, 1127},  // Bengali
    {1026, 1128},  // Bulgarian
    {1109, 1129},  // Burmese
    {1027, 1130},  // Catalan
    {1116, 1131},  // Cherokee
    {3076, 1132},  // Chinese - Hong Kong SAR
    {5124, 1133},  // Chinese - Macao SAR
    {2052, 1134},  // Simplified Chinese
    {4100, 1135},  // Chinese - Singapore
    {1028, 1136},  // Traditional Chinese
    {1050, 1137},  // Croatian
    {1029, 1138},  // Czech
    {1030, 1139},  // Danish
    {1125, 1140},  // Divehi
    {2067, 1141},  // Belgian Dutch
    {1043, 1142},  // Dutch
    {2129, 1143},  // Dzongkha Bhutan
    {1126, 1144},  // Edo
    {3081, 1145},  // English - AUS
    {10249, 1146}, // English - Belize
    {4105, 1147},  // English - Canadian
    {9225, 1148},  // English - Caribbean
    {6153, 1149},  // English - Ireland
    {8201, 1150},  // English - Jamaica
    {5129, 1151},  // English - New Zealand
    {13321, 1152}, // English - Philippines
    {7177, 1153},  // English - South Africa
    {11273, 1154}, // English - Trinidad Tobago
    {2057, 1155},  // English - UK
    {1033, 1156},  // English - US
    {12297, 1157}, // English - Zimbabwe
    {14345, 1158}, // English - Indonesia
    {1061, 1159},  // Estonian
    {1080, 1160},  // Faeroese
    {1065, 1161},  // Farsi
    {1124, 1162},  // Filipino
    {1035, 1163},  // Finnish
    {1127, 1164},  // Fulfulde
    {2060, 1165},  // Belgian French
    {11276, 1166}, // French - Cameroon
    {3084, 1167},  // French - Canadian
    {12300, 1168}, // French - Coted Ivoire
    {1036, 1169},  // French
    {5132, 1170},  // French - Luxembourg
    {13324, 1171}, // French - Mali
    {6156, 1172},  // French - Monaco
    {8204, 1173},  // French - Reunion
    {10252, 1174}, // French - Senegal
    {14348, 1175}, // French - Morocco
    {15372, 1176}, // French - Haiti
    {4108, 1177},  // Swiss French
    {7180, 1178},  // French - West Indies
    {9228, 1179},  // French Zaire
    {1122, 1180},  // Frisian Netherlands
    {2108, 1181},  // Gaelic Ireland
    {1084, 1182},  // Gaelic Scotland
    {1110, 1183},  // Galician
    {1079, 1184},  // Georgian
    {3079, 1185},  // German - Austria
    {1031, 1186},  // German
    {5127, 1187},  // German - Liechtenstein
    {4103, 1188},  // German - Luxembourg
    {2055, 1189},  // Swiss German
    {1032, 1190},  // Greek
    {1140, 1191},  // Guarani
    {1095, 1192},  // Gujarati
    {1128, 1193},  // Hausa
    {1141, 1194},  // Hawaiian
    {1037, 1195},  // Hebrew
    {1081, 1196},  // Hindi
    {1038, 1197},  // Hungarian
    {1129, 1198},  // Ibibio
    {1039, 1199},  // Icelandic
    {1136, 1200},  // Igbo
    {1057, 1201},  // Indonesian
    {1117, 1202},  // Inuktitut
    {1040, 1203},  // Italian
    {2064, 1204},  // Swiss Italian
    {1041, 1205},  // Japanese
    {1099, 1206},  // Kannada
    {1137, 1207},  // Kanuri
    {1120, 1208},  // Kashmiri
    {1087, 1209},  // Kazakh
    {1107, 1210},  // Khmer
    {1088, 1211},  // Kirghiz
    {1111, 1212},  // Konkani
    {1042, 1213},  // Korean
    {1088, 1214},  // Kyrgyz
    {1108, 1215},  // Lao
    {1142, 1216},  // Latin
    {1062, 1217},  // Latvian
    {1063, 1218},  // Lithuanian
    {1071, 1219},  // Macedonian
    {1086, 1220},  // Malaysian
    {2110, 1221},  // Malay Brunei Darussalam
    {1100, 1222},  // Malayalam
    {1082, 1223},  // Maltese
    {1112, 1224},  // Manipuri
    {1102, 1225},  // Marathi
    {1104, 1226},  // Mongolian
    {1121, 1227},  // Nepali
    {1044, 1228},  // Norwegian Bokmol
    {2068, 1229},  // Norwegian Nynorsk
    {1096, 1230},  // Oriya
    {1138, 1231},  // Oromo
    {1123, 1232},  // Pashto
    {1045, 1233},  // Polish
    {1046, 1234},  // Brazilian Portuguese
    {2070, 1235},  // Portuguese
    {1094, 1236},  // Punjabi
    {1047, 1237},  // Rhaeto Romanic
    {2072, 1238},  // Romanian Moldova
    {1048, 1239},  // Romanian
    {2073, 1240},  // Russian Moldova
    {1049, 1241},  // Russian
    {1083, 1242},  // Sami Lappish
    {1103, 1243},  // Sanskrit
    {3098, 1244},  // Serbian - Cyrillic
    {2074, 1245},  // Serbian - Latin
    {1115, 1246},  // Sinhalese
    {1113, 1247},  // Sindhi
    {2137, 1248},  // Sindhi - Pakistan
    {1051, 1249},  // Slovak
    {1060, 1250},  // Slovenian
    {1143, 1251},  // Somali
    {1070, 1252},  // Sorbian
    {11274, 1253}, // Spanish - Argentina
    {16394, 1254}, // Spanish - Bolivia
    {13322, 1255}, // Spanish - Chile
    {9226, 1256},  // Spanish - Colombia
    {5130, 1257},  // Spanish - Costa Rica
    {7178, 1258},  // Spanish - Dominican Republic
    {12298, 1259}, // Spanish - Ecuador
    {17418, 1260}, // Spanish - El Salvador
    {4106, 1261},  // Spanish - Guatemala
    {18442, 1262}, // Spanish - Honduras
    {2058, 1263},  // Mexican - Spanish
    {19466, 1264}, // Spanish - Nicaragua
    {6154, 1265},  // Spanish - Panama
    {15370, 1266}, // Spanish - Paraguay
    {10250, 1267}, // Spanish - Peru
    {20490, 1268}, // Spanish - Puerto Rico
    {3082, 1269},  // Spanish - Modern
    {1034, 1270},  // Spanish
    {14346, 1271}, // Spanish - Uruguay
    {8202, 1272},  // Spanish - Venezuela
    {1072, 1273},  // Sesotho
    {1072, 1274},  // Sutu
    {1089, 1275},  // Swahili
    {2077, 1276},  // Swedish - Finland
    {1053, 1277},  // Swedish
    {1114, 1278},  // Syriac
    {1064, 1279},  // Tajik
    {1119, 1280},  // Tamazight
    {2143, 1281},  // Tamazight Latin
    {1097, 1282},  // Tamil
    {1092, 1283},  // Tatar
    {1098, 1284},  // Telugu
    {1054, 1285},  // Thai
    {1105, 1286},  // Tibetan
    {1139, 1287},  // Tigrigna - Ethiopic
    {2163, 1288},  // Tigrigna - Eritrea
    {1073, 1289},  // Tsonga
    {1074, 1290},  // Tswana
    {1055, 1291},  // Turkish
    {1090, 1292},  // Turkmen
    {1058, 1293},  // Ukrainian
    {1056, 1294},  // Urdu
    {2115, 1295},  // Uzbek - Cyrillic
    {1091, 1296},  // Uzbek - Latin
    {1075, 1297},  // Venda
    {1066, 1298},  // Vietnamese
    {1106, 1299},  // Welsh
    {1076, 1300},  // Xhosa
    {1144, 1301},  // Yi
    {1085, 1302},  // Yiddish
    {1130, 1303},  // Yoruba
    {1077, 1304},  // Zulu
}};

} // namespace orvan
