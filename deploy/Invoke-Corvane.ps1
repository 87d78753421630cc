<#
.SYNOPSIS
    Runs Corvane unattended on this machine, or sums up the reports of many machines in one CSV file.

.DESCRIPTION
    Run (the default): starts Corvane.exe, or Corvane64.exe where Outlook is the 64-bit build (the MAPI
    libraries that Corvane loads must be of Outlook's bitness), from -ProgramFolder as
        /run /out:<ReportRoot>\%COMPUTERNAME%.%USERNAME%
    waits for it and ends with its exit code. Corvane expands the two variables itself. Run it
    as the logged-on user (Intune: "Run this script using the logged on credentials: Yes"; Configuration
    Manager: a program that runs "Only when a user is logged on" with the user's rights), never as SYSTEM:
    Outlook's language settings that Corvane reads belong to the user.

    Two places, never one: the programs and this script in a folder that users may only read and run
    (-ProgramFolder), the reports in a drop box where each user may create a folder of their own and nothing
    else (-ReportRoot), one folder per machine and user directly below it. A program in a folder that users
    may write could be replaced by any of them, and would then run as every other user who logs on.

    -Summarize: one CSV line for each <ReportRoot>\<machine>.<user>\Corvane.xml, made with corvane-csv.xsl,
    after a line of column names, written to -Csv; and beside it an index, a page named as the CSV with
    .html, with one row for each report (machine, user, outcome, the numbers of errors and warnings among
    its findings) and a link to its page, made with Corvane.xsl (report/Corvane.xsl, copied beside this
    script) into the folder named as the CSV with -pages. The pages are made from the reports, never taken
    from the drop box nor written there: a Corvane.html there is whatever its folder's user put there.

    Exit codes. Corvane ran: its own code, 0 completed, 1 the run was stopped, -1 no report could be saved,
    -2 to -10 the step that failed, 87 a command line that cannot be used. Corvane did not run, each with a
    code of this script's own, so that no deployment counts it a success:
        100  the program is not in -ProgramFolder (or cannot be seen there)
        101  the program is there but could not be started
        102  this script failed before it could start the program (the registry, a parameter)
    -Summarize: 0 the CSV was written, 103 no readable report was found (and no CSV written), 102 the
    script failed.

    Intune starts scripts without arguments: set the defaults below before uploading. Needs Windows
    PowerShell 3.0 or later (Windows 8, or WMF 3.0 on Windows 7).
#>
param(
    # Where Corvane.exe and Corvane64.exe are: a share (or local folder) that users may only read and run.
    # A relative folder is taken from this script's own ('.' for a package that holds the programs).
    [string]$ProgramFolder = '\\server\corvane$',
    # The drop box for the reports, one folder per machine and user directly below it.
    [Alias('Share')]
    [string]$ReportRoot = '\\server\reports$',
    [switch]$Summarize,
    # The summary's file; by default Corvane-summary.csv in the Documents folder of the one who makes it.
    [string]$Csv = ''
)

# This script's own exit codes, apart from Corvane's (0, 1, -1 to -10, 87). Anything that stops the script
# unforeseen would end it with 1, which is Corvane's: it ends with 102 instead.
$ProgramMissing = 100
$ProgramNotStarted = 101
$ScriptFailed = 102
$NoReports = 103
$ErrorActionPreference = 'Stop'
trap {
    Write-Warning ("Invoke-Corvane: {0}" -f ($_.Exception.Message -replace '\p{Cc}', '?'))
    exit $ScriptFailed
}

# Intune runs scripts in 32-bit PowerShell by default, which sees the 32-bit registry only: read the
# machine's own (64-bit) view, where both bitnesses of Office leave their marks.
function Get-MachineValue([string]$KeyPath, [string]$Name) {
    $machine = [Microsoft.Win32.RegistryKey]::OpenBaseKey([Microsoft.Win32.RegistryHive]::LocalMachine,
        [Microsoft.Win32.RegistryView]::Registry64)
    try {
        $key = $machine.OpenSubKey($KeyPath)
        if ($key) {
            try { return $key.GetValue($Name) } finally { $key.Close() }
        }
    } finally {
        $machine.Close()
    }
}

# 'x64' or 'x86'. Click-to-Run installations name their platform; MSI installations of Office 2010 and
# later give Outlook a Bitness value; older Outlook and a machine without Outlook are 32-bit.
function Get-OutlookBitness {
    $platform = Get-MachineValue 'SOFTWARE\Microsoft\Office\ClickToRun\Configuration' 'Platform'
    if ($platform) { return $platform }
    foreach ($office in 'SOFTWARE\Microsoft\Office', 'SOFTWARE\WOW6432Node\Microsoft\Office') {
        foreach ($version in '16.0', '15.0', '14.0') {
            $bitness = Get-MachineValue "$office\$version\Outlook" 'Bitness'
            if ($bitness) { return $bitness }
        }
    }
    return 'x86'
}

if ($Summarize) {
    $transform = New-Object System.Xml.Xsl.XslCompiledTransform
    $transform.Load((Join-Path $PSScriptRoot 'corvane-csv.xsl'))
    # A report is what one machine's user could have written. Corvane writes no document type declaration,
    # and one could declare entities that read this machine's files or make it log on to another machine:
    # a report with one is refused, and nothing that a report names is fetched.
    $settings = New-Object System.Xml.XmlReaderSettings
    $settings.DtdProcessing = [System.Xml.DtdProcessing]::Prohibit
    $settings.XmlResolver = $null
    # The index's head, as deploy/summarize.sh writes it.
    $IndexHead = @'
<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01//EN">
<html lang="en"><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8"><title>Corvane reports</title><style type="text/css">
body { margin: 12px 24px; color: #1b1b1b; background: #fff; font-family: "Segoe UI", Tahoma, Verdana, Arial, sans-serif; font-size: 10pt; }
h1 { margin: 0 0 6px 0; color: #003a70; font-size: 18pt; font-weight: normal; }
table { border-collapse: collapse; }
th, td { padding: 3px 10px; border-bottom: 1px solid #e4e8ec; text-align: left; vertical-align: top; }
th { border-bottom: 1px solid #c7d3e0; background: #eef2f6; color: #333; font-weight: normal; }
.number { text-align: right; }
.errors { color: #fff; background: #c42b1c; font-weight: bold; }
.warnings { background: #fff4ce; color: #8a5a00; font-weight: bold; }
.completed { color: #107c10; font-weight: bold; }
.stopped { color: #8a5a00; font-weight: bold; }
.failed { color: #c42b1c; font-weight: bold; }
.unknown { color: #555; font-weight: bold; }
.empty, .unseen { color: #888; font-style: italic; }
.error-code, .error-name { color: #a4262c; }
@media print { body { margin: 0; font-size: 9pt; } a { color: #000; } .errors, .warnings { -webkit-print-color-adjust: exact; print-color-adjust: exact; } }
</style></head><body>
<h1>Corvane reports</h1>
'@ + "`n"
    # The readable page of a report and its row of the index, with every text of the report's escaped.
    $pageStylesheet = Join-Path $PSScriptRoot 'Corvane.xsl'
    if (-not (Test-Path -LiteralPath $pageStylesheet -PathType Leaf)) {
        $pageStylesheet = Join-Path $PSScriptRoot '..\report\Corvane.xsl'
    }
    $page = New-Object System.Xml.Xsl.XslCompiledTransform
    $page.Load($pageStylesheet)
    # The output of $Transform on the report $Bytes with the parameters $Parameters, as UTF-8 bytes.
    function Invoke-Page($Transform, [byte[]]$Bytes, [hashtable]$Parameters) {
        $arguments = New-Object System.Xml.Xsl.XsltArgumentList
        foreach ($name in $Parameters.Keys) { $arguments.AddParam($name, '', $Parameters[$name]) }
        $output = New-Object System.IO.MemoryStream
        $Transform.Transform([System.Xml.XmlReader]::Create((New-Object System.IO.MemoryStream (, $Bytes)), $settings),
            $arguments, $output)
        return , $output.ToArray()
    }
    # In a folder that no other user can write: in one such as C:\Temp another user could have made the
    # file first, and read what is written into it. With a byte order mark, so that Excel reads it as UTF-8.
    if (-not $Csv) {
        $Csv = Join-Path ([Environment]::GetFolderPath('MyDocuments')) 'Corvane-summary.csv'
    }
    $pagesLink = [Uri]::EscapeDataString([System.IO.Path]::GetFileNameWithoutExtension($Csv) + '-pages')
    $header = 'yes'
    $lines = New-Object System.Text.StringBuilder
    $rows = New-Object System.Text.StringBuilder
    $pages = New-Object System.Collections.ArrayList
    $leftOut = 0
    # A folder that cannot be listed (its owner may have shut everyone else out) is named, and the others
    # still count. Names reach the console with their control characters as '?'.
    $reports = Get-ChildItem -Path (Join-Path $ReportRoot '*\Corvane.xml') -Force -ErrorAction SilentlyContinue `
        -ErrorVariable unlisted
    foreach ($problem in $unlisted) {
        Write-Warning ("{0}; left out" -f ($problem.Exception.Message -replace '\p{Cc}', '?'))
        $leftOut++
    }
    foreach ($report in $reports | Sort-Object FullName) {
        $shown = $report.FullName -replace '\p{Cc}', '?'
        # Corvane.xml itself, in a folder of its own: a link, or a junction in the folder's place, could
        # lead to any file that this machine can read.
        if ($report.PSIsContainer -or (($report.Attributes -bor $report.Directory.Attributes) -band
                [System.IO.FileAttributes]::ReparsePoint)) {
            Write-Warning "$shown is not a plain file; left out"
            $leftOut++
            continue
        }
        $parameters = New-Object System.Xml.Xsl.XsltArgumentList
        $parameters.AddParam('path', '', $report.FullName)
        $parameters.AddParam('header', '', $header)
        $line = New-Object System.IO.StringWriter
        try {
            # Read once: the line, the page and the row are of the same report.
            $bytes = [System.IO.File]::ReadAllBytes($report.FullName)
            $transform.Transform([System.Xml.XmlReader]::Create((New-Object System.IO.MemoryStream (, $bytes)), $settings),
                $parameters, $line)
        } catch {
            $why = $_.Exception.Message -replace '\p{Cc}', '?'
            Write-Warning "$shown is no readable report ($why); left out"
            $leftOut++
            continue
        }
        [void]$lines.Append($line.ToString())
        $header = 'no'
        # Its page, "NNN-NAME.html": NNN its row, NAME its folder's name with every character but letters,
        # digits, '.', '_' and '-' made '_'.
        $name = '{0:D3}-{1}.html' -f ($pages.Count + 1), ($report.Directory.Name -replace '[^A-Za-z0-9._-]', '_')
        try {
            $html = Invoke-Page $page $bytes @{}
            $row = [System.Text.Encoding]::UTF8.GetString((Invoke-Page $page $bytes @{
                'index-link' = $pagesLink + '/' + [Uri]::EscapeDataString($name);
                'index-folder' = $report.Directory.Name }))
            # The row alone, without the byte order mark and document type declaration before it.
            [void]$rows.Append(($row.TrimStart([char]0xFEFF) -replace '^<!DOCTYPE[^>]*>\s*', '').TrimEnd() + "`n")
            [void]$pages.Add(@($name, $html))
        } catch {
            $why = $_.Exception.Message -replace '\p{Cc}', '?'
            Write-Warning "$shown has no page in the index ($why)"
        }
    }
    if ($header -eq 'yes') {
        Write-Warning "Invoke-Corvane: no readable report in $ReportRoot; no CSV written"
        exit $NoReports
    }
    $Csv = $ExecutionContext.SessionState.Path.GetUnresolvedProviderPathFromPSPath($Csv)
    [System.IO.File]::WriteAllText($Csv, $lines.ToString(), (New-Object System.Text.UTF8Encoding $true))
    # The index and its pages beside the CSV: Corvane-summary.html and Corvane-summary-pages\ (made anew).
    $base = [System.IO.Path]::Combine([System.IO.Path]::GetDirectoryName($Csv),
        [System.IO.Path]::GetFileNameWithoutExtension($Csv))
    $pagesFolder = $base + '-pages'
    if (Test-Path -LiteralPath $pagesFolder) { Remove-Item -LiteralPath $pagesFolder -Recurse -Force }
    [void][System.IO.Directory]::CreateDirectory($pagesFolder)
    foreach ($made in $pages) {
        [System.IO.File]::WriteAllBytes((Join-Path $pagesFolder $made[0]), $made[1])
    }
    $index = New-Object System.Text.StringBuilder
    [void]$index.Append($IndexHead)
    [void]$index.Append(("<p>{0} reports, by folder; {1} left out (-Summarize named each and why).</p>`n" -f
        $pages.Count, $leftOut))
    [void]$index.Append('<table summary="One row for each report"><tr><th>Machine</th><th>User</th><th>Outcome</th>')
    [void]$index.Append("<th class=`"number`">Errors</th><th class=`"number`">Warnings</th><th>Page</th></tr>`n")
    [void]$index.Append($rows.ToString())
    [void]$index.Append("</table>`n</body></html>`n")
    [System.IO.File]::WriteAllText($base + '.html', $index.ToString(), (New-Object System.Text.UTF8Encoding $false))
    exit 0
}

if (-not [System.IO.Path]::IsPathRooted($ProgramFolder)) {
    $ProgramFolder = Join-Path $PSScriptRoot $ProgramFolder
}
$program = Join-Path $ProgramFolder $(if ((Get-OutlookBitness) -eq 'x64') { 'Corvane64.exe' } else { 'Corvane.exe' })
if (-not (Test-Path -LiteralPath $program -PathType Leaf)) {
    Write-Warning "Invoke-Corvane: $program is not there; Corvane did not run"
    exit $ProgramMissing
}
# Quoted for a share with spaces in its name; Corvane drops the quote that a final backslash would keep.
$out = "`"/out:$ReportRoot\%COMPUTERNAME%.%USERNAME%`""
# Started by the system itself, not through the shell: Process.Start then either gives a process, whose
# exit code is there once it has ended, or throws.
try {
    $start = New-Object System.Diagnostics.ProcessStartInfo $program, "/run $out"
    $start.UseShellExecute = $false
    $process = [System.Diagnostics.Process]::Start($start)
    $process.WaitForExit()
    $code = $process.ExitCode
} catch {
    Write-Warning ("Invoke-Corvane: {0} could not be started ({1}); Corvane did not run" -f $program,
        ($_.Exception.Message -replace '\p{Cc}', '?'))
    exit $ProgramNotStarted
}
exit $code
