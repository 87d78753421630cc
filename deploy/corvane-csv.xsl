<?xml version="1.0" encoding="UTF-8"?>
<!--
  One line of CSV from one Corvane.xml, for a summary of the reports of many machines.

  xsltproc -stringparam path 'REPORTS/PC042.jsmith/Corvane.xml' corvane-csv.xsl REPORTS/PC042.jsmith/Corvane.xml

  path     where the report was found. The folder it is in is named MACHINE.USER, the layout of
           /out:\\server\reports$\%COMPUTERNAME%.%USERNAME%: a machine's (NetBIOS) name holds no '.',
           a user's may, so the name is split at its first '.'.
  machine, user
           the machine and the user: by default those that the report's header names (its Computer and
           User elements), else those of the folder's name.
  header   'yes' puts the line of column names before the line of the report.

  Every field is quoted, and a quote in it doubled (RFC 4180). A report and its folder's name are what one
  machine's user could have written: a field that a spreadsheet would take for a formula (one that starts
  with '=', '+', '-', '@', a tab or a carriage return) gets an apostrophe before it, inside the quotes, and
  the error code is taken only from a marker that Corvane writes. The numbers of errors and warnings among
  the report's findings, and the ids of all its findings (errors first, as the report has them), are empty
  for a report without findings (one of a Corvane before them, or of a run that was stopped). What is read from the report is read
  from the elements named here and no others, so that elements added to the report's header later change
  nothing.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="text" encoding="UTF-8"/>

  <xsl:param name="path" select="''"/>
  <xsl:param name="header" select="'no'"/>

  <!-- The name of the folder that holds the report. -->
  <xsl:variable name="folder">
    <xsl:call-template name="last-name">
      <xsl:with-param name="text">
        <xsl:call-template name="folder-of">
          <xsl:with-param name="file" select="translate($path, '/', '\')"/>
        </xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:variable>
  <xsl:variable name="names" select="/Report/ReportHeader"/>
  <xsl:param name="machine">
    <xsl:choose>
      <xsl:when test="string($names/Computer) != ''">
        <xsl:value-of select="$names/Computer"/>
      </xsl:when>
      <xsl:when test="contains($folder, '.')">
        <xsl:value-of select="substring-before($folder, '.')"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="$folder"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:param>
  <xsl:param name="user">
    <xsl:choose>
      <xsl:when test="string($names/User) != ''">
        <xsl:value-of select="$names/User"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="substring-after($folder, '.')"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:param>

  <xsl:variable name="sections" select="/Report/ReportData/ReportSection"/>
  <!-- The sections of the test's steps; the inventory and the findings come after them. -->
  <xsl:variable name="steps" select="$sections[not(@id = 'Inventory' or @id = 'Findings')]"/>
  <xsl:variable name="findings" select="$sections[@id = 'Findings'][1]"/>
  <xsl:variable name="clients" select="$sections[@id = 'MailClients']/DataList[@Type = 'RegHive']
                                       [@Name = 'HKLM\SOFTWARE\Clients\Mail']"/>
  <xsl:variable name="outlook" select="$clients/DataList[@Name = 'Microsoft Outlook']"/>
  <xsl:variable name="os" select="$sections[@id = 'SystemInfo']/DataStruct[@Name = 'os_info']"/>
  <xsl:variable name="outcome" select="/Report/ReportHeader/Process/*[self::CompletedAt or self::FailedAt
                                       or self::AbortedAt]"/>
  <!-- Corvane's error markers: "##ERROR:0x" and eight upper-case hex digits, "##", and at most a line's end,
       the whole text of a structure or member of its own. A registry value (a DataItem) holds what a user
       wrote, "##ERROR:" and anything after it among them. -->
  <xsl:variable name="markers" select="$steps//*[self::DataStruct or self::DataMember]/text()
      [starts-with(., '##ERROR:0x') and substring(., 19, 2) = '##'
       and (string-length(.) = 20 or string-length(.) = 21 and substring(., 21) = '&#10;')
       and translate(substring(., 11, 8), '0123456789ABCDEF', '') = '']"/>

  <xsl:template match="/">
    <xsl:if test="$header = 'yes'">
      <xsl:text>"Machine","User","Outcome","OS","OS version","Default mail client",</xsl:text>
      <xsl:text>"Outlook MSIComponentID","Outlook DLLPathEx","Outlook version","Failed in","First error code",</xsl:text>
      <xsl:text>"Errors","Warnings","Findings"&#10;</xsl:text>
    </xsl:if>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$machine"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$user"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value">
        <xsl:choose>
          <xsl:when test="$outcome[self::CompletedAt]">completed</xsl:when>
          <xsl:when test="$outcome[self::FailedAt]">failed</xsl:when>
          <xsl:when test="$outcome[self::AbortedAt]">aborted</xsl:when>
          <xsl:otherwise>unknown</xsl:otherwise>
        </xsl:choose>
      </xsl:with-param>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$os/DataMember[@Name = 'os_name']"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$os/DataMember[@Name = 'os_version']"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$clients/DataItem[@Name = '(Default)']"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$outlook/DataItem[@Name = 'MSIComponentID']"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$outlook/DataItem[@Name = 'DLLPathEx']"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$sections[@id = 'OutlookInfo']/DataStruct[@Type = 'VersionInfo']
                                           /DataMember[@Name = 'FileVersion']"/>
    </xsl:call-template>
    <!-- A run stops in the section of the step that failed, and that section is the last of the steps. -->
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="$steps[last()][$outcome[self::FailedAt]]/@id"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value" select="substring($markers[1], 9, 10)"/>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value">
        <xsl:if test="$findings">
          <xsl:value-of select="count($findings/Finding[@Severity = 'Error'])"/>
        </xsl:if>
      </xsl:with-param>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value">
        <xsl:if test="$findings">
          <xsl:value-of select="count($findings/Finding[@Severity = 'Warning'])"/>
        </xsl:if>
      </xsl:with-param>
    </xsl:call-template>
    <xsl:call-template name="field">
      <xsl:with-param name="value">
        <xsl:for-each select="$findings/Finding">
          <xsl:if test="position() &gt; 1">
            <xsl:text> </xsl:text>
          </xsl:if>
          <xsl:value-of select="@Id"/>
        </xsl:for-each>
      </xsl:with-param>
      <xsl:with-param name="last" select="true()"/>
    </xsl:call-template>
  </xsl:template>

  <!-- One quoted field and the comma after it, or the line's end after the last one; an apostrophe first
       when the field would start a formula. -->
  <xsl:template name="field">
    <xsl:param name="value"/>
    <xsl:param name="last" select="false()"/>
    <xsl:variable name="first" select="substring(string($value), 1, 1)"/>
    <xsl:text>"</xsl:text>
    <xsl:if test="$first != '' and contains('=+-@&#9;&#13;', $first)">
      <xsl:text>'</xsl:text>
    </xsl:if>
    <xsl:call-template name="double-quotes">
      <xsl:with-param name="text" select="string($value)"/>
    </xsl:call-template>
    <xsl:text>"</xsl:text>
    <xsl:choose>
      <xsl:when test="$last">
        <xsl:text>&#10;</xsl:text>
      </xsl:when>
      <xsl:otherwise>
        <xsl:text>,</xsl:text>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="double-quotes">
    <xsl:param name="text"/>
    <xsl:choose>
      <xsl:when test="contains($text, '&quot;')">
        <xsl:value-of select="substring-before($text, '&quot;')"/>
        <xsl:text>""</xsl:text>
        <xsl:call-template name="double-quotes">
          <xsl:with-param name="text" select="substring-after($text, '&quot;')"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="$text"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The path without its last name: "a\b\c" gives "a\b"; a path without a backslash gives "". -->
  <xsl:template name="folder-of">
    <xsl:param name="file"/>
    <xsl:if test="contains($file, '\')">
      <xsl:value-of select="substring-before($file, '\')"/>
      <xsl:if test="contains(substring-after($file, '\'), '\')">
        <xsl:text>\</xsl:text>
        <xsl:call-template name="folder-of">
          <xsl:with-param name="file" select="substring-after($file, '\')"/>
        </xsl:call-template>
      </xsl:if>
    </xsl:if>
  </xsl:template>

  <!-- The last name of a path: "a\b\c" gives "c". -->
  <xsl:template name="last-name">
    <xsl:param name="text"/>
    <xsl:choose>
      <xsl:when test="contains($text, '\')">
        <xsl:call-template name="last-name">
          <xsl:with-param name="text" select="substring-after($text, '\')"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="$text"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
