<?xml version="1.0" encoding="utf-8"?>
<!--
  Corvane.xsl: one Corvane.xml as one readable HTML page, Corvane.html.

  xsltproc report/Corvane.xsl Corvane.xml > Corvane.html

  The page stands alone: no script, no picture, no style sheet or font of its own outside it, and no link
  but to its own headings, so that it reads the same from a share, a mail attachment or a machine with no
  network, in any browser from Windows XP's Internet Explorer 6 on, and prints. It shows the report's
  header, then its findings (errors, warnings, information, each in the report's order), then every other
  section in the report's order and nesting, as the event list showed them: the four sections of the test,
  then the inventory.

  What the report says came from the machine: every text and name of it is written as text, never as
  markup, and never into an attribute of the page, whose escaping the processors do not share.

  XSLT 1.0 only, without extensions, as MSXML 3 runs it: the same page comes from xsltproc and from MSXML's
  transformNode, apart from the charset that each names in the <meta> it adds to the head (a string from
  transformNode names UTF-16) and the line end that xsltproc writes after the page. MSXML drops text of
  white space alone as it loads a document without preserveWhiteSpace, xsl:text of this stylesheet too:
  the line ends and spaces that the page needs are written as select="'&#10;'" and select="' '". The
  page never shows white space alone between a report's elements; a value that is only white space is
  shown as it was loaded.

  index-link, index-folder
           with index-link, the page's row of the fleet's index (deploy/summarize.sh) instead of the page:
           one <tr> with the machine, the user, the outcome, the numbers of errors and of warnings among
           the findings, and a link to index-link, the machine's page. The machine and the user are those
           that the report's header names, else those of index-folder, the name of the report's folder
           (MACHINE.USER, split at its first '.').
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="utf-8" indent="no" doctype-public="-//W3C//DTD HTML 4.01//EN"/>

  <xsl:param name="index-link" select="''"/>
  <xsl:param name="index-folder" select="''"/>

  <xsl:variable name="header" select="/Report/ReportHeader"/>
  <xsl:variable name="findings" select="/Report/ReportData/ReportSection[@id = 'Findings']"/>
  <xsl:variable name="sections" select="/Report/ReportData/ReportSection[not(@id = 'Findings')]"/>
  <!-- The sections of the test's steps: a failed run stops in the last of them. The inventory and the
       findings come after them, whatever happened. -->
  <xsl:variable name="steps" select="$sections[not(@id = 'Inventory')]"/>
  <xsl:variable name="end" select="$header/Process/*[self::CompletedAt or self::AbortedAt or self::FailedAt][1]"/>
  <xsl:variable name="errors" select="count($findings/Finding[@Severity = 'Error'])"/>
  <xsl:variable name="warnings" select="count($findings/Finding[@Severity = 'Warning'])"/>
  <xsl:variable name="notes" select="count($findings/Finding[@Severity = 'Information'])"/>

  <!-- Characters that a page would not show, or would show as something else: tab, line breaks, DEL and
       the C1 controls (the XML cannot carry the other C0 controls; Corvane writes U+FFFD for them), and the
       marks and separators that reorder, join or break a line unseen. Each is shown as its code point,
       <U+000D>, as Corvane's printed rows show control characters. The codes are four hex digits each, in
       the same order. -->
  <xsl:variable name="unseen" select="concat('&#9;&#10;&#13;&#127;',
      '&#128;&#129;&#130;&#131;&#132;&#133;&#134;&#135;&#136;&#137;&#138;&#139;&#140;&#141;&#142;&#143;',
      '&#144;&#145;&#146;&#147;&#148;&#149;&#150;&#151;&#152;&#153;&#154;&#155;&#156;&#157;&#158;&#159;',
      '&#x61C;&#x200B;&#x200E;&#x200F;&#x2028;&#x2029;&#x202A;&#x202B;&#x202C;&#x202D;&#x202E;',
      '&#x2066;&#x2067;&#x2068;&#x2069;&#xFEFF;')"/>
  <xsl:variable name="unseen-codes" select="concat('0009000A000D007F',
      '0080008100820083008400850086008700880089008A008B008C008D008E008F',
      '0090009100920093009400950096009700980099009A009B009C009D009E009F',
      '061C200B200E200F20282029202A202B202C202D202E',
      '2066206720682069FEFF')"/>

  <!-- The names of the codes that Corvane's reports hold, or that a mail set-up commonly gives: one line
       each, the code as the marker writes it, a space, the name and what it means. -->
  <xsl:variable name="error-names" select="concat('&#10;',
      '0x80004001 E_NOTIMPL: not implemented&#10;',
      '0x80004005 E_FAIL: unspecified failure&#10;',
      '0x8000FFFF E_UNEXPECTED: unexpected failure&#10;',
      '0x80040154 REGDB_E_CLASSNOTREG: the class is not registered&#10;',
      '0x80070002 ERROR_FILE_NOT_FOUND: the file was not found&#10;',
      '0x80070003 ERROR_PATH_NOT_FOUND: the path was not found&#10;',
      '0x80070005 ERROR_ACCESS_DENIED: access is denied&#10;',
      '0x8007000E E_OUTOFMEMORY: not enough memory&#10;',
      '0x80070057 E_INVALIDARG: a parameter is not valid&#10;',
      '0x8007007B ERROR_INVALID_NAME: the file name, folder name or volume label is not valid&#10;',
      '0x8007007E ERROR_MOD_NOT_FOUND: the module, or a module that it needs, was not found&#10;',
      '0x8007007F ERROR_PROC_NOT_FOUND: the module has no such procedure&#10;',
      '0x800700C1 ERROR_BAD_EXE_FORMAT: not a valid Win32 application (usually a module of the other bitness)&#10;',
      '0x800700CB ERROR_ENVVAR_NOT_FOUND: the environment variable was not found&#10;',
      '0x800700EA ERROR_MORE_DATA: more data than could be read&#10;',
      '0x8007045A ERROR_DLL_INIT_FAILED: the initialisation of the module failed&#10;',
      '0x80070583 ERROR_CLASS_DOES_NOT_EXIST: the class does not exist&#10;',
      '0x80070647 ERROR_UNKNOWN_COMPONENT: Windows Installer does not know the component&#10;',
      '0x80070714 ERROR_RESOURCE_DATA_NOT_FOUND: the file has no resources (no version information)&#10;',
      '0x80070715 ERROR_RESOURCE_TYPE_NOT_FOUND: the file has no resource of that type&#10;',
      '0x80070716 ERROR_RESOURCE_NAME_NOT_FOUND: the file has no resource of that name&#10;',
      '0x80070717 ERROR_RESOURCE_LANG_NOT_FOUND: the file has no resource in that language&#10;')"/>

  <xsl:template match="/">
    <xsl:choose>
      <xsl:when test="$index-link != ''">
        <xsl:call-template name="index-row"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="page"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="page">
    <html lang="en">
      <head>
        <title>
          <xsl:text>Corvane report</xsl:text>
          <xsl:if test="string($header/Computer) != ''">
            <xsl:text>: </xsl:text>
            <xsl:value-of select="$header/Computer"/>
          </xsl:if>
        </title>
        <style type="text/css">
body { margin: 12px 24px; color: #1b1b1b; background: #fff; font-family: "Segoe UI", Tahoma, Verdana, Arial, sans-serif; font-size: 10pt; }
h1 { margin: 0 0 6px 0; color: #003a70; font-size: 18pt; font-weight: normal; }
h2 { margin: 22px 0 8px 0; padding-bottom: 2px; border-bottom: 2px solid #003a70; color: #003a70; font-size: 13pt; }
p { margin: 4px 0; }
table { border-collapse: collapse; }
th, td { padding: 2px 8px; text-align: left; vertical-align: top; }
.header th { padding-left: 0; color: #555; font-weight: normal; white-space: nowrap; }
.contents { margin: 10px 0; }
.contents a { margin-right: 14px; }
.completed { color: #107c10; font-weight: bold; }
.stopped { color: #8a5a00; font-weight: bold; }
.failed { color: #c42b1c; font-weight: bold; }
.unknown { color: #555; font-weight: bold; }
.count, .note { color: #555; }
.clean { color: #107c10; font-weight: bold; }
.finding { margin: 8px 0; padding: 6px 10px; border: 1px solid #999; border-left-width: 8px; }
.sev-error { border-color: #c42b1c; background: #fde7e9; }
.sev-warning { border-color: #c98a00; background: #fff4ce; }
.sev-information { border-color: #0f6cbd; background: #ebf3fc; }
.sev-other { border-color: #777; background: #f3f3f3; }
.severity { margin-right: 8px; font-size: 8.5pt; font-weight: bold; text-transform: uppercase; }
.message, .advice-label { font-weight: bold; }
.rule { margin-left: 8px; color: #666; font-size: 8.5pt; }
.facts { margin-top: 4px; }
.facts th { padding-left: 0; color: #555; font-weight: normal; }
.block { margin: 6px 0 10px 0; padding-left: 10px; border-left: 3px solid #c7d3e0; }
.block .block { margin-left: 4px; }
.block-title { margin: 0 0 3px 0; font-weight: bold; }
.kind { margin-right: 6px; color: #555; font-weight: normal; }
.values { width: 100%; table-layout: fixed; }
.values th { border-bottom: 1px solid #c7d3e0; background: #eef2f6; color: #333; font-weight: normal; }
.values td { border-bottom: 1px solid #e4e8ec; word-wrap: break-word; }
.values .label { color: #333; background: #fff; border-bottom: 1px solid #e4e8ec; }
.name-column { width: 16em; }
.type-column { width: 11em; }
.value, .path { font-family: Consolas, "Lucida Console", "Courier New", monospace; }
.error-code { padding: 0 3px; color: #fff; background: #c42b1c; font-weight: bold; }
.error-name { margin-left: 8px; color: #a4262c; font-family: "Segoe UI", Tahoma, Verdana, Arial, sans-serif; }
.unseen { color: #8a5a00; background: #fff4ce; }
.empty { color: #888; font-style: italic; }
@media print {
  body { margin: 0; font-size: 9pt; }
  a { color: #000; text-decoration: none; }
  .contents { display: none; }
  .finding, .block { page-break-inside: avoid; }
  .finding, .error-code { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
</style>
      </head>
      <body>
        <xsl:value-of select="'&#10;'"/>
        <h1>Corvane report</h1>
        <xsl:value-of select="'&#10;'"/>
        <xsl:call-template name="header"/>
        <p class="contents">
          <a href="#findings">Findings</a>
          <xsl:for-each select="$sections">
            <xsl:value-of select="' '"/>
            <a href="#section-{position()}">
              <xsl:call-template name="section-title"/>
            </a>
          </xsl:for-each>
        </p>
        <xsl:value-of select="'&#10;'"/>
        <xsl:call-template name="findings"/>
        <xsl:for-each select="$sections">
          <h2 id="section-{position()}">
            <xsl:call-template name="section-title"/>
          </h2>
          <xsl:value-of select="'&#10;'"/>
          <xsl:apply-templates select="*"/>
        </xsl:for-each>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="section-title">
    <xsl:choose>
      <xsl:when test="string(@Title) != ''">
        <xsl:value-of select="@Title"/>
      </xsl:when>
      <xsl:otherwise>Section</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Header -->

  <xsl:template name="header">
    <table class="header" summary="The run">
      <xsl:value-of select="'&#10;'"/>
      <xsl:if test="string($header/Computer) != ''">
        <xsl:call-template name="header-row">
          <xsl:with-param name="label">Computer</xsl:with-param>
          <xsl:with-param name="value" select="string($header/Computer)"/>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="string($header/User) != ''">
        <xsl:call-template name="header-row">
          <xsl:with-param name="label">User</xsl:with-param>
          <xsl:with-param name="value" select="string($header/User)"/>
        </xsl:call-template>
      </xsl:if>
      <tr>
        <th>Program</th>
        <td>
          <xsl:variable name="program" select="string($header/Program)"/>
          <xsl:choose>
            <xsl:when test="$program = '32-bit'">Corvane.exe, 32-bit</xsl:when>
            <xsl:when test="$program = '32-bit under WOW64'">Corvane.exe, 32-bit under WOW64 (on 64-bit Windows)</xsl:when>
            <xsl:when test="$program = '64-bit'">Corvane64.exe, 64-bit</xsl:when>
            <xsl:otherwise>
              <xsl:call-template name="text">
                <xsl:with-param name="value" select="$program"/>
              </xsl:call-template>
            </xsl:otherwise>
          </xsl:choose>
          <xsl:if test="$program != ''">
            <span class="note">: what it saw of MAPI is what mail programs of its bitness see</span>
          </xsl:if>
        </td>
      </tr>
      <xsl:value-of select="'&#10;'"/>
      <xsl:call-template name="header-row">
        <xsl:with-param name="label">Started</xsl:with-param>
        <xsl:with-param name="value" select="string($header/Process/StartedAt)"/>
      </xsl:call-template>
      <xsl:if test="$end">
        <xsl:call-template name="header-row">
          <xsl:with-param name="label">
            <xsl:choose>
              <xsl:when test="$end[self::CompletedAt]">Completed</xsl:when>
              <xsl:when test="$end[self::AbortedAt]">Stopped</xsl:when>
              <xsl:otherwise>Failed</xsl:otherwise>
            </xsl:choose>
          </xsl:with-param>
          <xsl:with-param name="value" select="string($end)"/>
        </xsl:call-template>
      </xsl:if>
      <tr>
        <th>Outcome</th>
        <td>
          <xsl:call-template name="outcome-word"/>
          <xsl:choose>
            <xsl:when test="$end[self::CompletedAt]">: every step of the test ran.</xsl:when>
            <xsl:when test="$end[self::AbortedAt]">: the test was stopped before its end; the sections below hold what was found until then.</xsl:when>
            <!-- A run stops in the section of the step that failed, the last one of the steps. -->
            <xsl:when test="$end[self::FailedAt]">
              <xsl:text>: a step of the test failed</xsl:text>
              <xsl:if test="$steps">
                <xsl:text> in </xsl:text>
                <xsl:for-each select="$steps[last()]">
                  <xsl:call-template name="section-title"/>
                </xsl:for-each>
              </xsl:if>
              <xsl:text>; the sections below hold what was found up to there.</xsl:text>
            </xsl:when>
            <xsl:otherwise>: the report does not say how the test ended.</xsl:otherwise>
          </xsl:choose>
        </td>
      </tr>
      <xsl:value-of select="'&#10;'"/>
      <xsl:call-template name="header-row">
        <xsl:with-param name="label">Report written</xsl:with-param>
        <xsl:with-param name="value" select="string($header/CreatedAt)"/>
      </xsl:call-template>
    </table>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <xsl:template name="header-row">
    <xsl:param name="label"/>
    <xsl:param name="value"/>
    <tr>
      <th>
        <xsl:value-of select="$label"/>
      </th>
      <td>
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="$value"/>
          <xsl:with-param name="empty" select="'unknown'"/>
        </xsl:call-template>
      </td>
    </tr>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <xsl:template name="outcome-word">
    <xsl:choose>
      <xsl:when test="$end[self::CompletedAt]">
        <span class="completed">Completed</span>
      </xsl:when>
      <xsl:when test="$end[self::AbortedAt]">
        <span class="stopped">Stopped</span>
      </xsl:when>
      <xsl:when test="$end[self::FailedAt]">
        <span class="failed">Failed</span>
      </xsl:when>
      <xsl:otherwise>
        <span class="unknown">Unknown</span>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Findings: errors, then warnings, then information, then any other severity, each in the report's
       order. -->

  <xsl:template name="findings">
    <h2 id="findings">Findings</h2>
    <xsl:value-of select="'&#10;'"/>
    <xsl:variable name="all" select="$findings/Finding"/>
    <xsl:choose>
      <xsl:when test="not($findings)">
        <p class="empty">This report holds no findings.</p>
      </xsl:when>
      <xsl:when test="not($all)">
        <p class="clean">No problems found.</p>
      </xsl:when>
      <xsl:otherwise>
        <p class="count">
          <xsl:text>Errors: </xsl:text>
          <xsl:value-of select="$errors"/>
          <xsl:text>, warnings: </xsl:text>
          <xsl:value-of select="$warnings"/>
          <xsl:text>, information: </xsl:text>
          <xsl:value-of select="$notes"/>
          <xsl:if test="count($all) &gt; $errors + $warnings + $notes">
            <xsl:text>, another severity: </xsl:text>
            <xsl:value-of select="count($all) - $errors - $warnings - $notes"/>
          </xsl:if>
          <xsl:text>.</xsl:text>
        </p>
        <xsl:value-of select="'&#10;'"/>
        <xsl:apply-templates select="$all[@Severity = 'Error']"/>
        <xsl:apply-templates select="$all[@Severity = 'Warning']"/>
        <xsl:apply-templates select="$all[@Severity = 'Information']"/>
        <xsl:apply-templates select="$all[not(@Severity = 'Error' or @Severity = 'Warning' or @Severity = 'Information')]"/>
      </xsl:otherwise>
    </xsl:choose>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <xsl:template match="Finding">
    <xsl:variable name="severity" select="string(@Severity)"/>
    <div>
      <xsl:attribute name="class">
        <xsl:choose>
          <xsl:when test="$severity = 'Error'">finding sev-error</xsl:when>
          <xsl:when test="$severity = 'Warning'">finding sev-warning</xsl:when>
          <xsl:when test="$severity = 'Information'">finding sev-information</xsl:when>
          <xsl:otherwise>finding sev-other</xsl:otherwise>
        </xsl:choose>
      </xsl:attribute>
      <p>
        <span class="severity">
          <xsl:choose>
            <xsl:when test="$severity = 'Information'">Information</xsl:when>
            <xsl:when test="$severity = 'Error' or $severity = 'Warning'">
              <xsl:value-of select="$severity"/>
            </xsl:when>
            <xsl:otherwise>
              <xsl:call-template name="text">
                <xsl:with-param name="value" select="$severity"/>
                <xsl:with-param name="empty" select="'no severity'"/>
              </xsl:call-template>
            </xsl:otherwise>
          </xsl:choose>
        </span>
        <xsl:value-of select="' '"/>
        <span class="message">
          <xsl:call-template name="text">
            <xsl:with-param name="value" select="string(Message)"/>
            <xsl:with-param name="empty" select="'no message'"/>
          </xsl:call-template>
        </span>
        <xsl:if test="string(@Id) != ''">
          <xsl:value-of select="' '"/>
          <span class="rule">
            <xsl:call-template name="text">
              <xsl:with-param name="value" select="string(@Id)"/>
            </xsl:call-template>
          </span>
        </xsl:if>
      </p>
      <xsl:if test="string(Advice) != ''">
        <p class="advice">
          <span class="advice-label">What to do:</span>
          <xsl:value-of select="' '"/>
          <xsl:call-template name="text">
            <xsl:with-param name="value" select="string(Advice)"/>
          </xsl:call-template>
        </p>
      </xsl:if>
      <xsl:if test="Fact">
        <table class="facts" summary="What the finding rests on">
          <xsl:for-each select="Fact">
            <tr>
              <th>
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(@Name)"/>
                  <xsl:with-param name="empty" select="'(no name)'"/>
                </xsl:call-template>
              </th>
              <td class="value">
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(.)"/>
                </xsl:call-template>
              </td>
            </tr>
          </xsl:for-each>
        </table>
      </xsl:if>
    </div>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <!-- Sections: registry keys, the system folders, the system, version information and component paths. -->

  <!-- A registry key (RegHive) or subkey (RegNode): the subkeys first, then the values, as the report
       and the event list have them; a key that could not be read holds its error marker instead. -->
  <xsl:template match="DataList">
    <div class="block">
      <p class="block-title">
        <span class="kind">
          <xsl:choose>
            <xsl:when test="@Type = 'RegHive'">Key</xsl:when>
            <xsl:when test="@Type = 'RegNode'">Subkey</xsl:when>
            <xsl:otherwise>List</xsl:otherwise>
          </xsl:choose>
        </span>
        <span class="path">
          <xsl:call-template name="text">
            <xsl:with-param name="value" select="string(@Name)"/>
          </xsl:call-template>
        </span>
      </p>
      <xsl:value-of select="'&#10;'"/>
      <xsl:call-template name="own-text"/>
      <xsl:apply-templates select="DataList"/>
      <xsl:if test="DataItem">
        <table class="values" summary="The key's values">
          <tr>
            <th class="name-column">Name</th>
            <th class="type-column">Type</th>
            <th>Data</th>
          </tr>
          <xsl:value-of select="'&#10;'"/>
          <xsl:for-each select="DataItem">
            <tr>
              <td class="value">
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(@Name)"/>
                </xsl:call-template>
              </td>
              <td>
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(@Type)"/>
                </xsl:call-template>
              </td>
              <td class="value">
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(.)"/>
                </xsl:call-template>
              </td>
            </tr>
            <xsl:value-of select="'&#10;'"/>
          </xsl:for-each>
        </table>
        <xsl:value-of select="'&#10;'"/>
      </xsl:if>
      <xsl:if test="not(DataList or DataItem or text()[normalize-space()])">
        <p class="empty">No subkeys and no values.</p>
        <xsl:value-of select="'&#10;'"/>
      </xsl:if>
    </div>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <!-- The system folders: each one's name and path. -->
  <xsl:template match="DataList[@Type = 'TypedMap']">
    <div class="block">
      <p class="block-title">
        <xsl:choose>
          <xsl:when test="@Name = 'sys_folders'">System Folders</xsl:when>
          <xsl:when test="@Name = 'classic_outlook'">Classic Outlook installed</xsl:when>
          <xsl:otherwise>
            <xsl:call-template name="text">
              <xsl:with-param name="value" select="string(@Name)"/>
            </xsl:call-template>
          </xsl:otherwise>
        </xsl:choose>
      </p>
      <xsl:value-of select="'&#10;'"/>
      <xsl:call-template name="own-text"/>
      <xsl:call-template name="members">
        <xsl:with-param name="members" select="DataItem"/>
      </xsl:call-template>
      <xsl:if test="not(DataItem or text()[normalize-space()])">
        <p class="empty">None found.</p>
        <xsl:value-of select="'&#10;'"/>
      </xsl:if>
    </div>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <!-- The system, a module's version information, or the paths that a module's FGetComponentPath gave. -->
  <xsl:template match="DataStruct">
    <div class="block">
      <p class="block-title">
        <xsl:choose>
          <xsl:when test="@Name = 'os_info'">
            <span class="kind">OS</span>
            <xsl:call-template name="text">
              <xsl:with-param name="value" select="string(@Title)"/>
            </xsl:call-template>
          </xsl:when>
          <xsl:when test="@Type = 'VersionInfo'">
            <span class="kind">Version Info</span>
            <span class="path">
              <xsl:call-template name="text">
                <xsl:with-param name="value" select="string(@ModulePath)"/>
              </xsl:call-template>
            </span>
          </xsl:when>
          <xsl:when test="@Type = 'Inventory'">
            <xsl:choose>
              <xsl:when test="@Name = 'Session'">Computer and user</xsl:when>
              <xsl:when test="@Name = 'ClickToRun'">Click-to-Run</xsl:when>
              <xsl:when test="@Name = 'OutlookBitness'">Outlook's bitness</xsl:when>
              <xsl:when test="@Name = 'UserMailClient'">The user's mail client</xsl:when>
              <xsl:when test="@Name = 'MailtoDefault'">E-mail links (mailto)</xsl:when>
              <xsl:when test="@Name = 'NewOutlook'">New Outlook</xsl:when>
              <xsl:when test="@Name = 'MapiProfiles'">MAPI profiles</xsl:when>
              <xsl:otherwise>
                <xsl:call-template name="text">
                  <xsl:with-param name="value" select="string(@Name)"/>
                </xsl:call-template>
              </xsl:otherwise>
            </xsl:choose>
          </xsl:when>
          <xsl:when test="@Type = 'ProcedureCall'">
            <span class="kind">Language Dependent Path</span>
            <span class="path">
              <xsl:call-template name="text">
                <xsl:with-param name="value" select="string(@ModulePath)"/>
              </xsl:call-template>
            </span>
          </xsl:when>
          <xsl:otherwise>
            <xsl:call-template name="text">
              <xsl:with-param name="value" select="string(@Title)"/>
            </xsl:call-template>
          </xsl:otherwise>
        </xsl:choose>
      </p>
      <xsl:value-of select="'&#10;'"/>
      <xsl:call-template name="own-text"/>
      <xsl:call-template name="members">
        <xsl:with-param name="members" select="DataMember"/>
      </xsl:call-template>
    </div>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <!-- Elements that this page does not know: their name and text, so that nothing is left out unseen. -->
  <xsl:template match="*">
    <div class="block">
      <p class="block-title">
        <span class="kind">
          <xsl:value-of select="name()"/>
        </span>
      </p>
      <p class="value">
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="string(.)"/>
        </xsl:call-template>
      </p>
    </div>
    <xsl:value-of select="'&#10;'"/>
  </xsl:template>

  <!-- The text of a list or structure itself, apart from its members: an error marker, or nothing. -->
  <xsl:template name="own-text">
    <xsl:for-each select="text()[normalize-space()]">
      <p>
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="string(.)"/>
        </xsl:call-template>
      </p>
      <xsl:value-of select="'&#10;'"/>
    </xsl:for-each>
  </xsl:template>

  <!-- Named values of a structure or of the system folders, as the event list names them. -->
  <xsl:template name="members">
    <xsl:param name="members"/>
    <xsl:if test="$members">
      <table class="values" summary="Names and values">
        <xsl:for-each select="$members">
          <tr>
            <th class="label name-column">
              <xsl:call-template name="label"/>
            </th>
            <td>
              <xsl:choose>
                <xsl:when test="string(@Title) != ''">
                  <xsl:call-template name="text">
                    <xsl:with-param name="value" select="string(@Title)"/>
                  </xsl:call-template>
                  <xsl:value-of select="' '"/>
                  <span class="value">
                    <xsl:call-template name="text">
                      <xsl:with-param name="value" select="string(.)"/>
                    </xsl:call-template>
                  </span>
                </xsl:when>
                <xsl:otherwise>
                  <xsl:attribute name="class">value</xsl:attribute>
                  <xsl:call-template name="text">
                    <xsl:with-param name="value" select="string(.)"/>
                  </xsl:call-template>
                </xsl:otherwise>
              </xsl:choose>
            </td>
          </tr>
          <xsl:value-of select="'&#10;'"/>
        </xsl:for-each>
      </table>
      <xsl:value-of select="'&#10;'"/>
    </xsl:if>
  </xsl:template>

  <xsl:template name="label">
    <xsl:variable name="name" select="string(@Name)"/>
    <xsl:choose>
      <xsl:when test="$name = 'os_name'">OS</xsl:when>
      <xsl:when test="$name = 'os_platform'">Platform</xsl:when>
      <xsl:when test="$name = 'os_version'">Version</xsl:when>
      <xsl:when test="$name = 'os_product'">Type</xsl:when>
      <xsl:when test="$name = 'os_suite'">Suite</xsl:when>
      <xsl:when test="$name = 'os_langsys'">System Language</xsl:when>
      <xsl:when test="$name = 'os_langusr'">User Language</xsl:when>
      <xsl:when test="$name = 'WindowsFolder'">Windows Folder</xsl:when>
      <xsl:when test="$name = 'SystemFolder'">System Folder</xsl:when>
      <xsl:when test="$name = 'ProgramFilesFolder'">Program Files</xsl:when>
      <xsl:when test="$name = 'CommonFilesFolder'">Common Files</xsl:when>
      <xsl:when test="$name = 'ProductVersion'">Product Version</xsl:when>
      <xsl:when test="$name = 'FileVersion'">File Version</xsl:when>
      <xsl:when test="$name = 'CompanyName'">Vendor</xsl:when>
      <xsl:when test="$name = 'MSIApplicationLCID'">MS Outlook</xsl:when>
      <xsl:when test="$name = 'MSIOfficeLCID'">MS Office</xsl:when>
      <xsl:when test="$name = 'UnspecifiedLCID'">Generic</xsl:when>
      <xsl:when test="$name = 'ComputerName'">Computer</xsl:when>
      <xsl:when test="$name = 'UserName'">User</xsl:when>
      <xsl:when test="$name = 'RegistryKey'">Registry key</xsl:when>
      <xsl:when test="$name = 'RegistryView'">Registry view</xsl:when>
      <xsl:when test="$name = 'VersionToReport'">Version</xsl:when>
      <xsl:when test="$name = 'ProductReleaseIds'">Products</xsl:when>
      <xsl:when test="$name = 'UpdateChannel'">Update channel</xsl:when>
      <xsl:when test="$name = 'Source'">Read from</xsl:when>
      <xsl:when test="$name = 'UserChoice'">The user's choice</xsl:when>
      <xsl:when test="$name = 'OpenCommand'">Open command</xsl:when>
      <xsl:when test="$name = 'InUse'">In use</xsl:when>
      <xsl:when test="$name = 'Count'">Number</xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="$name"/>
          <xsl:with-param name="empty" select="'(no name)'"/>
        </xsl:call-template>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Text from the report. An error marker, "##ERROR:0x" and eight upper-case hex digits, "##" and at
       most a line's end, as the whole text, is highlighted and named where the table above knows its
       code; a registry value that a user wrote to look like one is shown like one, and says no more than
       its text. An empty text is shown as a word in grey, and the characters a page would not show as
       their code points. -->
  <xsl:template name="text">
    <xsl:param name="value"/>
    <xsl:param name="empty" select="'empty'"/>
    <xsl:choose>
      <xsl:when test="starts-with($value, '##ERROR:0x') and substring($value, 19, 2) = '##'
                      and (string-length($value) = 20
                           or string-length($value) = 21 and substring($value, 21) = '&#10;')
                      and translate(substring($value, 11, 8), '0123456789ABCDEF', '') = ''">
        <xsl:variable name="code" select="substring($value, 9, 10)"/>
        <xsl:variable name="name" select="substring-before(substring-after($error-names, concat('&#10;', $code, ' ')), '&#10;')"/>
        <span class="error-code">
          <xsl:value-of select="substring($value, 1, 20)"/>
        </span>
        <xsl:if test="$name != ''">
          <span class="error-name">
            <xsl:value-of select="$name"/>
          </span>
        </xsl:if>
      </xsl:when>
      <xsl:when test="$value = ''">
        <span class="empty">
          <xsl:text>(</xsl:text>
          <xsl:value-of select="$empty"/>
          <xsl:text>)</xsl:text>
        </span>
      </xsl:when>
      <xsl:when test="translate($value, $unseen, '') != $value">
        <xsl:call-template name="unseen">
          <xsl:with-param name="value" select="$value"/>
          <xsl:with-param name="characters" select="$unseen"/>
          <xsl:with-param name="codes" select="$unseen-codes"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="$value"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The value with each of characters (whose code points are codes, four hex digits each) shown as
       <U+XXXX>: split at the first of characters, the text on each side with the others. -->
  <xsl:template name="unseen">
    <xsl:param name="value"/>
    <xsl:param name="characters"/>
    <xsl:param name="codes"/>
    <xsl:variable name="character" select="substring($characters, 1, 1)"/>
    <xsl:choose>
      <xsl:when test="$characters = ''">
        <xsl:value-of select="$value"/>
      </xsl:when>
      <xsl:when test="contains($value, $character)">
        <xsl:call-template name="unseen">
          <xsl:with-param name="value" select="substring-before($value, $character)"/>
          <xsl:with-param name="characters" select="substring($characters, 2)"/>
          <xsl:with-param name="codes" select="substring($codes, 5)"/>
        </xsl:call-template>
        <span class="unseen">
          <xsl:text>&lt;U+</xsl:text>
          <xsl:value-of select="substring($codes, 1, 4)"/>
          <xsl:text>&gt;</xsl:text>
        </span>
        <xsl:call-template name="unseen">
          <xsl:with-param name="value" select="substring-after($value, $character)"/>
          <xsl:with-param name="characters" select="$characters"/>
          <xsl:with-param name="codes" select="$codes"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="unseen">
          <xsl:with-param name="value" select="$value"/>
          <xsl:with-param name="characters" select="substring($characters, 2)"/>
          <xsl:with-param name="codes" select="substring($codes, 5)"/>
        </xsl:call-template>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The fleet's index -->

  <xsl:template name="index-row">
    <xsl:variable name="machine">
      <xsl:choose>
        <xsl:when test="string($header/Computer) != ''">
          <xsl:value-of select="$header/Computer"/>
        </xsl:when>
        <xsl:when test="contains($index-folder, '.')">
          <xsl:value-of select="substring-before($index-folder, '.')"/>
        </xsl:when>
        <xsl:otherwise>
          <xsl:value-of select="$index-folder"/>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <xsl:variable name="user">
      <xsl:choose>
        <xsl:when test="string($header/User) != ''">
          <xsl:value-of select="$header/User"/>
        </xsl:when>
        <xsl:otherwise>
          <xsl:value-of select="substring-after($index-folder, '.')"/>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <tr>
      <td>
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="string($machine)"/>
          <xsl:with-param name="empty" select="'unknown'"/>
        </xsl:call-template>
      </td>
      <td>
        <xsl:call-template name="text">
          <xsl:with-param name="value" select="string($user)"/>
          <xsl:with-param name="empty" select="'unknown'"/>
        </xsl:call-template>
      </td>
      <td>
        <xsl:call-template name="outcome-word"/>
        <xsl:if test="$end[self::FailedAt] and $steps">
          <xsl:text> in </xsl:text>
          <xsl:for-each select="$steps[last()]">
            <xsl:call-template name="section-title"/>
          </xsl:for-each>
        </xsl:if>
      </td>
      <td class="number">
        <xsl:if test="$errors &gt; 0">
          <xsl:attribute name="class">number errors</xsl:attribute>
        </xsl:if>
        <xsl:value-of select="$errors"/>
      </td>
      <td class="number">
        <xsl:if test="$warnings &gt; 0">
          <xsl:attribute name="class">number warnings</xsl:attribute>
        </xsl:if>
        <xsl:value-of select="$warnings"/>
      </td>
      <td>
        <a href="{$index-link}">open</a>
      </td>
    </tr>
  </xsl:template>
</xsl:stylesheet>
