// The precompiled GoogleTest header of the test programs is made with this file's target.
