// The pages of reports made by MSXML 3's transformNode, as Corvane makes Corvane.html: each report loaded
// with its white space kept, the stylesheet without, the result (a string) written as UTF-16 with its
// byte order mark.
// Usage: cscript //nologo msxml-page.js STYLESHEET LOG REPORT PAGE [REPORT PAGE]...
var args = WScript.Arguments;
var files = new ActiveXObject("Scripting.FileSystemObject");
var log = files.CreateTextFile(args(1), true, false);
function load(path, preserveWhiteSpace) {
    var document = new ActiveXObject("Msxml2.DOMDocument.3.0");
    document.async = false;
    document.validateOnParse = false;
    document.resolveExternals = false;
    document.preserveWhiteSpace = preserveWhiteSpace;
    if (!document.load(path)) {
        log.WriteLine("load " + path + ": " + document.parseError.reason);
        return null;
    }
    return document;
}
var failed = 0;
var stylesheet = load(args(0), false);
for (var i = 2; stylesheet && i + 1 < args.length; i += 2) {
    var report = load(args(i), true);
    if (!report) {
        failed++;
        continue;
    }
    try {
        var page = files.CreateTextFile(args(i + 1), true, true);
        page.Write(report.transformNode(stylesheet));
        page.Close();
    } catch (e) {
        log.WriteLine("transformNode " + args(i) + ": " + e.message);
        failed++;
    }
}
log.WriteLine(stylesheet ? "done, " + failed + " failed" : "no stylesheet");
log.Close();
WScript.Quit(stylesheet && !failed ? 0 : 1);
