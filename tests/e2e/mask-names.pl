# The computer and user names that a run saw, and the run's date among a finding's facts, as the expected
# files show them: a row "Computer: NAME" or "User: NAME" at any indent, the report header's elements and
# the inventory's members. The names come from the environment (COMPUTER, USER_NAME).
# Used by check-run.sh and check-readme.sh as: perl -p mask-names.pl
s/(\bComputer: )\Q$ENV{COMPUTER}\E$/$1%COMPUTERNAME%/;
s/(\bUser: )\Q$ENV{USER_NAME}\E$/$1%USERNAME%/;
s{^(<Computer>|<DataMember Type="String" Name="ComputerName">)\Q$ENV{COMPUTER}\E(</)}{$1%COMPUTERNAME%$2};
s{^(<User>|<DataMember Type="String" Name="UserName">)\Q$ENV{USER_NAME}\E(</)}{$1%USERNAME%$2};
s{^(<Fact Name="Run date">)[0-9]{4}-[0-9]{2}-[0-9]{2}(</Fact>)$}{$1YYYY-MM-DD$2};
