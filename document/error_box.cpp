// filled with the document commands
