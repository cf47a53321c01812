// The framework's message table and the filling of its placeholders.
#include "platform/Messages.h"

#include <algorithm>
#include <iterator>

namespace ven {
namespace {

using K = MessageKind;
const Message kMessages[] = {
    {1, K::Notice, "Record Retrieval Error", "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window."},
    {2, K::Notice, "Access Denied", "Could not get write access to %File so trying read-only."},
    {3, K::Question, "Record Added", "This record has been added to the file. Do you want to add another record?"},
    {4, K::Notice, "Record Insert Error", "An error was experienced during the creation of a record. Error: %ErrorText."},
    {5, K::Notice, "Add New Record?", "Record match not found, do you wish to add a new one?"},
    {6, K::Notice, "Record Was Not Updated", "This record was changed by another station."},
    {7, K::Notice, "Record Was Not Updated", "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+' to recall your changes."},
    {8, K::Question, "Changes will be lost!", "Are you sure you want to cancel?"},
    {9, K::Question, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
    {10, K::Fatal, "File Creation Error", "Error: (%ErrorText) creating %File."},
    {11, K::Notice, "Record was not deleted", "An error (%ErrorText) was experienced when deleting a record from the %File file."},
    {12, K::Notice, "Invalid Request", "This form cannot be used to delete a record"},
    {13, K::Notice, "Duplicate Key Error", "Adding this record creates a duplicate entry for the key: %Message"},
    {14, K::Notice, "Field contents error", "The value of %Field must be found in the %Message file."},
    {15, K::Notice, "Value Error", "The value of %Field must be in the list : %Message."},
    {16, K::Notice, "Range Error", "The value of %Field must be between %Message."},
    {17, K::Notice, "Range Error", "The value of %Field must be lower than %Message."},
    {18, K::Notice, "Range Error", "The value of %Field must be higher than %Message."},
    {19, K::Notice, "File Load Error", "%File File Load Error.  Error: %ErrorText."},
    {20, K::Notice, "Invalid Request", "This form cannot be used to insert a record"},
    {21, K::Notice, "Transaction cancelled", "Error: (%ErrorText) attempting to frame the transaction on %File."},
    {22, K::Notice, "No Records", "There are no records available to process."},
    {23, K::Fatal, "File Access Error", "File (%File) could not be opened.  Error: %ErrorText."},
    {24, K::Notice, "Procedure not defined", "The Procedure %Message has not been defined."},
    {25, K::Notice, "Record was not updated", "An error (%ErrorText) was experienced when making changes to the %File file."},
    {26, K::Fatal, "Key was not built", "Error: (%ErrorText) repairing key for %File."},
    {27, K::Notice, "Invalid Key", "%File key file is invalid. Key must be rebuilt."},
    {28, K::Notice, "Record not read", "A record held by another station was encountered reading from the %File file."},
    {30, K::Notice, "Referential Integrity Delete Error", "This record is referenced from the file %File. This record cannot be deleted while these references exist."},
    {31, K::Notice, "Referential Integrity Update Error", "This record is referenced from the file %File. Linking field(s) have been restricted from change and have been reset to original values."},
    {32, K::Question, "Auto Increment Error", "Attempts to automatically number this record have failed.  Error: %ErrorText. Try Again?"},
    {33, K::Question, "Record Delete Error", "An error was experienced deleting this record. Do you want to try to delete it again?"},
    {34, K::Question, "Record Update Error", "An error was experienced changing this record. Do you want to try to save again?"},
    {35, K::Question, "Save Record", "Do you want to save the changes to this record?"},
    {36, K::Question, "Beginning of File Error", "The beginning of the file was encountered. Do you want to start again from the end of the file?"},
    {37, K::Question, "End of File Error", "The end of the file was encountered. Do you want to start again from the beginning?"},
    {38, K::Notice, "Invalid Request", "This form cannot be used to update a record"},
    {39, K::Fatal, "File Usage Error", "Attempt to use file (%File) before it was opened"},
    {40, K::Notice, "View Open Error", "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored."},
    {42, K::Question, "Record Was Not Updated", "This record was deleted by another station. Do you want to save your values as a new record?"},
    {41, K::Notice, "Unsupported QBE Column", "The saved QBE column, %Field is not supported. It will be dropped from the query."},
};

} // namespace

const Message* findMessage(int number)
{
    auto it = std::find_if(std::begin(kMessages), std::end(kMessages),
                           [number](const Message& m) { return m.number == number; });
    return it == std::end(kMessages) ? nullptr : it;
}

QString messageTitle(int number)
{
    const Message* m = findMessage(number);
    return m ? QString::fromUtf8(m->title) : QString();
}

QString messageText(int number, const MessageArgs& args)
{
    const Message* m = findMessage(number);
    if (!m)
        return {};
    // Filled in one pass, so that a placeholder inside a filled value stays as it is.
    const QString src = QString::fromUtf8(m->text);
    // A message about an engine error that does not name its file names it
    // with the error ("Error: VenDry: database or disk is full").
    const QString errorText = !args.file.isEmpty() && !args.errorText.isEmpty() && !src.contains("%File")
                                  ? args.file + QStringLiteral(": ") + args.errorText
                                  : args.errorText;
    const std::pair<QString, const QString*> holders[] = {
        {"%File", &args.file}, {"%ErrorText", &errorText}, {"%Field", &args.field}, {"%Message", &args.message}};
    QString out;
    for (int i = 0; i < src.size();) {
        bool replaced = false;
        for (const auto& [name, value] : holders) {
            if (QStringView(src).mid(i).startsWith(name)) {
                out += *value;
                i += name.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += src[i++];
    }
    if (m->kind == MessageKind::Fatal)
        out += "  Press OK to close this window.";
    return out;
}

} // namespace ven
