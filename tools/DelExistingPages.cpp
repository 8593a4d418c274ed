#include "tools/DelExistingPages.h"

const RemoverPage kRemoverPages[kRemoverPageCount] = {
    {RemoverPageId::Start, "StartSHT", "Start", "",
     "The Wizard will now guide you through the steps of deinstalling an existing application.\r\n\r\n"
     "This cannot be performed automatically because there is no installation log file. Without this log the "
     "program could easily miss many files and registry entries, and it could also delete items that are actually "
     "needed by your system and/or application programs.\r\n\r\n"
     "Please follow the instructions carefully and select \"Next\" whenever it is time to proceed to the next "
     "step.\r\n\r\n"
     "At the end of the process you will be able to review all your choices and confirm the deletion before "
     "actually removing the application from your computer."},
    {RemoverPageId::ProgramFiles, "DelProgFilesSHT", "Program Files", "Folders to delete",
     "Folders to delete:\r\n\r\n"
     "Please select the folders of the application you want to delete. If you installed the application in the "
     "default location these folders will normally be found in:\r\n\r\n"
     "c:\\program files\\ COMPANY\\ PROGRAM\r\n\r\n"
     "where COMPANY is the application manufacturer and PROGRAM is the application name."},
    {RemoverPageId::StartMenu, "StartmenueSHT", "Start Menu", "Folders to delete",
     "Start Menu entries to delete:\r\n\r\n"
     "Please select the application's Start Menu entries for deletion.\r\n\r\n"
     "These are normally located in:\r\n\r\n"
     "c:\\ windows\\ startmenu\\ programs\\ COMPANY\\ PROGRAM\r\n\r\n"
     "where COMPANY is the application manufacturerand PROGRAM is the name of the application."},
    {RemoverPageId::Registry, "RegSoftwareSHT", "Registry", "Registry items to delete:",
     "Registry items to delete:\r\n\r\n"
     "Please select the application's registry keys for deletion.\r\n\r\n"
     "These keys are normally found in:\r\n\r\n"
     "HKey_Current_User\\ Software\\ COMPANY\\ PROGRAM\\ VERSION\r\n\r\n"
     "where COMPANY is the application manufacturer, PROGRAM is the application name and VERSION is the "
     "application version number.\r\n\r\n"
     "Sometimes there is also a key for global settings in:\r\n\r\n"
     "HKey_Local_Machine\\ Software\\ COMPANY\\ PROGRAM\\ VERSION"},
    {RemoverPageId::FileExtensions, "RegFileExtSHT", "File Extensions", "Registry items to delete:",
     "File extensions to delete:\r\n\r\n"
     "Please select the file extensions to delete.\r\n\r\n"
     "The '*.DOC' extension (document) is normally registered for Microsoft Word documents ('Word.Document.8'). It "
     "is also possible for several extensions to be registered for the same application - for example, '*.TXT' is "
     "also often registered as a Word document.\r\n\r\n"
     "The wizard identifies these multiple assignments AUTOMATICALLY."},
    {RemoverPageId::Confirmation, "ConfirmSHT", "Confirmation", "Actions to Confirm",
     "Items to be deleted:\r\n\r\n"
     "This tab shows you all the items you have selected.\r\n\r\n"
     "Select the ones you want to delete, then click on \"Execute Selected Actions\" to delete all the selected "
     "items."},
};
