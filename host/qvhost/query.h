// qvhost's query command: runs an XPath expression over a document through the plug-in's
// inter-client calls and prints one match per line.
#pragma once

// When the command line asks for the query command (`qvhost [--plugin MODULE] [--client-dir DIR]
// query DOCUMENT EXPRESSION [--flow NAME] [--start PATH]`), runs it and answers its exit status;
// answers -1 for any other command line.
int QueryCommandIfAsked(int argc, char **argv);
